#include "platform/base/ShiftJis.h"
#include "platform/raster/CodePoints.h"
#include "platform/raster/TextShaper.h"
#include "platform/base/UnicodeText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>

// The shaper's glyphs and positions against an independent reference: HarfBuzz's own
// command-line shaper, hb-shape, run on the same font file at the same size, one
// directional run at a time in the visual order the bidirectional algorithm gives.
namespace {

using TGlyphs = std::vector<TTextShaper::TGlyph>;

// The file fontconfig gives for the family, or empty when the family is not installed.
QString FontFile(const QString& family)
{
    QProcess match;
    match.start(QStringLiteral("fc-match"), {QStringLiteral("-f"), QStringLiteral("%{family}\t%{file}"), family});
    if (!match.waitForFinished() || match.exitCode() != 0)
        return {};
    const QStringList fields = QString::fromUtf8(match.readAllStandardOutput()).split(u'\t');
    if (fields.size() != 2 || !fields[0].split(u',').contains(family, Qt::CaseInsensitive))
        return {};
    return fields[1];
}

// The code points of UTF-8 text.
std::u32string Codes(const char* utf8)
{
    return CodePoints(Utf8ToText(utf8));
}

int RoundedPixels(double units)
{
    return static_cast<int>(std::floor(units / 64.0 + 0.5));
}

// hb-shape's glyphs for one run at em pixels (its positions in 1/64 pixels), placed
// from pen on and rounded to whole pixels, advance by advance.
TGlyphs ReferenceRun(const QString& file, const QString& text, const char* direction, int em, int& pen)
{
    QProcess shape;
    shape.start(QStringLiteral("hb-shape"),
                {QStringLiteral("--font-size=%1").arg(em * 64), QStringLiteral("--font-ppem=%1").arg(em),
                 QStringLiteral("--no-glyph-names"), QStringLiteral("--output-format=json"),
                 QStringLiteral("--direction=%1").arg(QLatin1String(direction)), file, text});
    TGlyphs glyphs;
    if (!shape.waitForFinished() || shape.exitCode() != 0) {
        ADD_FAILURE() << "hb-shape failed: " << shape.readAllStandardError().toStdString();
        return glyphs;
    }
    int cluster = -1;
    for (const QJsonValue& value : QJsonDocument::fromJson(shape.readAllStandardOutput()).array()) {
        const QJsonObject glyph = value.toObject();
        const int advance = RoundedPixels(glyph[QLatin1String("ax")].toDouble());
        const int glyphCluster = glyph[QLatin1String("cl")].toInt();
        glyphs.push_back(TTextShaper::TGlyph{0, static_cast<std::uint32_t>(glyph[QLatin1String("g")].toInt()),
                                             pen + RoundedPixels(glyph[QLatin1String("dx")].toDouble()),
                                             RoundedPixels(glyph[QLatin1String("dy")].toDouble()), advance,
                                             glyphCluster != cluster});
        cluster = glyphCluster;
        pen += advance;
    }
    return glyphs;
}

struct TRunPiece {
    const char* Text;
    const char* Direction;
};

struct TShapeCase {
    const char* Name;
    const char* Family;
    int Em;
    const char* Text;
    std::vector<TRunPiece> VisualRuns; // the runs left to right, as the bidirectional algorithm orders them
};

struct TFontCloser {
    void operator()(hb_font_t* font) const { TTextShaper::CloseFont(font); }
};

TEST(TextShaperTest, GlyphsAndPositionsMatchHbShapeRunByRun)
{
    if (QStandardPaths::findExecutable(QStringLiteral("hb-shape")).isEmpty())
        GTEST_SKIP() << "hb-shape (libharfbuzz-bin) is not installed";
    const TShapeCase cases[] = {
        {"Arabic letters join, right to left", "DejaVu Sans", 40, "مرحبا بالعالم", {{"مرحبا بالعالم", "rtl"}}},
        {"Hebrew paragraph with digits and Latin inside", "DejaVu Sans", 29, "שלום 123 abc",
         {{"abc", "ltr"}, {" ", "rtl"}, {"123", "ltr"}, {"שלום ", "rtl"}}},
        {"Latin paragraph with Hebrew inside", "DejaVu Sans", 29, "abc שלום!",
         {{"abc ", "ltr"}, {"שלום", "rtl"}, {"!", "ltr"}}},
        // The brackets take the paragraph's direction and are mirrored.
        {"Arabic with an English word in brackets", "DejaVu Sans", 24, "نص (Logo) نص",
         {{" نص", "rtl"}, {")", "rtl"}, {"Logo", "ltr"}, {"نص (", "rtl"}}},
        {"Devanagari conjuncts and vowel signs", "Lohit Devanagari", 40, "नमस्ते दुनिया क्षत्रिय", {{"नमस्ते दुनिया क्षत्रिय", "ltr"}}},
        {"Thai tone marks and vowels above", "Loma", 40, "น้ำใจ สวัสดี", {{"น้ำใจ สวัสดี", "ltr"}}},
        {"decomposed accents", "DejaVu Sans", 33, "e\xCC\x81te\xCC\x81 a\xCC\x88", {{"e\xCC\x81te\xCC\x81 a\xCC\x88", "ltr"}}},
        {"emoji", "Symbola", 40, "\xF0\x9F\x8E\x89\xF0\x9F\x98\x80", {{"\xF0\x9F\x8E\x89\xF0\x9F\x98\x80", "ltr"}}},
    };
    for (const TShapeCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString file = FontFile(QString::fromUtf8(c.Family));
        if (file.isEmpty()) {
            std::printf("[  SKIPPED ] %s: the font %s is not installed\n", c.Name, c.Family);
            continue;
        }
        int pen = 0;
        TGlyphs expected;
        for (const TRunPiece& piece : c.VisualRuns) {
            const TGlyphs run = ReferenceRun(file, QString::fromUtf8(piece.Text), piece.Direction, c.Em, pen);
            expected.insert(expected.end(), run.begin(), run.end());
        }
        const std::unique_ptr<hb_font_t, TFontCloser> font(TTextShaper::OpenFont(file.toStdString(), 0, c.Em));
        ASSERT_NE(font, nullptr);
        const std::u32string codes = Codes(c.Text);
        const std::vector<int> fontOfCode(codes.size(), 0);
        hb_font_t* const fonts[] = {font.get()};
        const TTextShaper::TLine line = TTextShaper::Shape(codes, fontOfCode, fonts);
        ASSERT_EQ(line.Glyphs.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(line.Glyphs[i].Glyph, expected[i].Glyph);
            EXPECT_EQ(line.Glyphs[i].X, expected[i].X);
            EXPECT_EQ(line.Glyphs[i].Y, expected[i].Y);
            EXPECT_EQ(line.Glyphs[i].Advance, expected[i].Advance);
            EXPECT_EQ(line.Glyphs[i].ClusterStart, expected[i].ClusterStart);
        }
        EXPECT_EQ(line.Width, pen);
    }
}

TEST(TextShaperTest, EveryCharacterOfTheJapaneseCodePageNeedsNoShaping)
{
    // Every single byte and every lead and trail byte pair the code page can form.
    std::string bytes;
    for (int single = 0x20; single < 0x100; ++single) {
        if (single < 0x80 || (single >= 0xA1 && single <= 0xDF))
            bytes += char(single);
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead <= 0xDF)
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail != 0x7F) {
                bytes += char(lead);
                bytes += char(trail);
            }
        }
    }
    const std::u32string codes = CodePoints(DecodeShiftJis(bytes));
    ASSERT_GT(codes.size(), 7000u);
    for (const char32_t code : codes) {
        if (TTextShaper::NeedsShaping(std::u32string_view(&code, 1)))
            ADD_FAILURE() << "U+" << std::hex << std::uppercase << unsigned(code) << " is sent to the shaper";
    }
}

TEST(TextShaperTest, TextThatJoinsReordersOrStacksNeedsShaping)
{
    const char* shaped[] = {
        "abc مرحبا", "שלום", "ܫܠܡܐ", "ދިވެހި", "ߒߞߏ", "नमस्ते", "বাংলা", "தமிழ்", "සිංහල", "สวัสดี", "ລາວ",
        "ខ្មែរ", "မြန်မာ", "བོད", "ᠮᠣᠩᠭᠣᠯ", "e\xCC\x81", "a\xE2\x80\x8D" /* joiner */, "\xE2\x80\xAE" "abc" /* RLO */,
    };
    for (const char* text : shaped) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(TTextShaper::NeedsShaping(Codes(text)));
    }
    const char* plain[] = {"Vezodev", "Ünïcødé ß œ", "ロゴ作成ツール", "Ж ვ ☃ €", "Party \xF0\x9F\x8E\x89", ""};
    for (const char* text : plain) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(TTextShaper::NeedsShaping(Codes(text)));
    }
}

} // namespace
