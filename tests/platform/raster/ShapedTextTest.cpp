#include "platform/raster/Bitmap.h"
#include "platform/raster/Canvas.h"
#include "platform/raster/FontFace.h"
#include "platform/base/UnicodeText.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cstdio>
#include <thread>

// Text in scripts that need shaping, right-to-left order or a fallback face, drawn
// through the canvas and compared with an independent renderer: Pango, asked for
// monochrome glyphs with full hinting, the way the canvas draws them.
namespace {

constexpr int Margin = 10;

bool Installed(const char* family)
{
    QProcess list;
    list.start(QStringLiteral("fc-list"), {QStringLiteral(":family=%1").arg(QString::fromUtf8(family)), QStringLiteral("family")});
    return list.waitForFinished() && !list.readAllStandardOutput().trimmed().isEmpty();
}

TFont MakeFont(const char* name, int em, TFontStyles style = 0)
{
    TFont font;
    font.SetName(Utf8ToText(name));
    font.SetHeight(-em);
    font.SetStyle(style);
    return font;
}

// Black text on white with the margin around the text cell.
QImage DrawnByCanvas(const TFont& font, const QString& qtText)
{
    const std::u16string text = qtText.toStdU16String();
    const auto face = TFontFace::For(font);
    TBitmap bitmap(face->TextWidth(text) + 2 * Margin, face->Height() + 2 * Margin);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetColor(clWhite);
    canvas.FillRect(Rect(0, 0, bitmap.Width(), bitmap.Height()));
    canvas.Brush().SetStyle(bsClear);
    canvas.Font() = font;
    canvas.Font().SetColor(clBlack);
    canvas.TextOut(Margin, Margin, text);
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
    for (int y = 0; y < bitmap.Height(); ++y)
        std::copy(bitmap.ScanLine(y), bitmap.ScanLine(y) + bitmap.Width(), reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
    return image;
}

QImage DrawnByPango(const QString& pangoFont, const QString& text, const QString& folder)
{
    const QString path = folder + QStringLiteral("/pango.png");
    QProcess pango;
    pango.start(QStringLiteral("pango-view"),
                {QStringLiteral("-q"), QStringLiteral("--pixels"), QStringLiteral("--font=") + pangoFont,
                 QStringLiteral("--antialias=none"), QStringLiteral("--hinting=full"), QStringLiteral("--hint-metrics=off"),
                 QStringLiteral("--margin=%1").arg(Margin), QStringLiteral("--background=white"),
                 QStringLiteral("--foreground=black"), QStringLiteral("-o"), path, QStringLiteral("--text=") + text});
    if (!pango.waitForFinished() || pango.exitCode() != 0) {
        ADD_FAILURE() << "pango-view failed: " << pango.readAllStandardError().toStdString();
        return {};
    }
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

bool IsInk(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

QRect InkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (IsInk(image, x, y))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

struct TInkDifference {
    int Ink = 0;       // ink pixels of the first image
    int Different = 0; // pixels inked in one image and not in the other, ink boxes laid on each other
};

// Ink counted per column, columns laid on each other from the ink boxes' left edges:
// the horizontal layout (order, advances, joining) without the glyphs' heights.
TInkDifference CompareColumns(const QImage& ours, const QRect& ourBox, const QImage& theirs, const QRect& theirBox)
{
    const auto column = [](const QImage& image, const QRect& box, int x) {
        int ink = 0;
        for (int y = box.top(); x < box.width() && y <= box.bottom(); ++y)
            ink += IsInk(image, box.left() + x, y);
        return ink;
    };
    TInkDifference difference;
    for (int x = 0; x < std::max(ourBox.width(), theirBox.width()); ++x) {
        const int mine = column(ours, ourBox, x);
        difference.Ink += mine;
        difference.Different += std::abs(mine - column(theirs, theirBox, x));
    }
    return difference;
}

TInkDifference CompareInk(const QImage& ours, const QRect& ourBox, const QImage& theirs, const QRect& theirBox)
{
    TInkDifference difference;
    const int width = std::max(ourBox.width(), theirBox.width());
    const int height = std::max(ourBox.height(), theirBox.height());
    const auto inked = [](const QImage& image, const QRect& box, int x, int y) {
        return x < box.width() && y < box.height() && IsInk(image, box.left() + x, box.top() + y);
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool mine = inked(ours, ourBox, x, y);
            difference.Ink += mine;
            difference.Different += mine != inked(theirs, theirBox, x, y);
        }
    }
    return difference;
}

struct TPangoCase {
    const char* Name;
    const char* Family; // ours
    int Em;
    const char* PangoFont;
    const char* Text;
    std::vector<const char*> Needs; // families that must be installed
    // Pango moves a fallback face's glyphs off the line's baseline; where faces mix,
    // the columns are compared and the rows are not.
    bool MixedFaces = false;
};

TEST(ShapedTextTest, DrawnTextMatchesPangosMonochromeRendering)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pango-view")).isEmpty())
        GTEST_SKIP() << "pango-view (pango1.0-tools) is not installed";
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const TPangoCase cases[] = {
        {"Arabic joining, right to left", "DejaVu Sans", 40, "DejaVu Sans 40", "مرحبا بالعالم", {"DejaVu Sans"}},
        {"Hebrew with digits and Latin", "DejaVu Sans", 29, "DejaVu Sans 29", "שלום 123 abc", {"DejaVu Sans"}},
        {"Devanagari from a fallback face", "DejaVu Sans", 40, "DejaVu Sans 40", "नमस्ते दुनिया", {"DejaVu Sans", "Lohit Devanagari"}},
        {"Thai marks", "Loma", 40, "Loma 40", "น้ำใจ สวัสดี", {"Loma"}},
        {"decomposed accent", "Times New Roman", 40, "Liberation Serif 40", "Cafe\xCC\x81 e\xCC\x81te\xCC\x81", {"Liberation Serif"}},
        {"emoji from a fallback face", "DejaVu Sans", 40, "DejaVu Sans,Symbola 40", "\xF0\x9F\x8E\x89", {"DejaVu Sans", "Symbola"}},
        {"emoji between letters", "DejaVu Sans", 40, "DejaVu Sans,Symbola 40", "x\xF0\x9F\x8E\x89x", {"DejaVu Sans", "Symbola"}, true},
        {"Japanese, Latin and Arabic on one line", "DejaVu Sans", 40, "DejaVu Sans,IPAPGothic 40", "日本語 Latin عربي",
         {"DejaVu Sans", "IPAPGothic"}, true},
    };
    for (const TPangoCase& c : cases) {
        SCOPED_TRACE(c.Name);
        bool installed = true;
        for (const char* family : c.Needs)
            installed = installed && Installed(family);
        if (!installed) {
            std::printf("[  SKIPPED ] %s: a font it needs is not installed\n", c.Name);
            continue;
        }
        const QString text = QString::fromUtf8(c.Text);
        const QImage ours = DrawnByCanvas(MakeFont(c.Family, c.Em), text);
        const QImage theirs = DrawnByPango(QString::fromUtf8(c.PangoFont), text, folder.path());
        ASSERT_FALSE(theirs.isNull());
        // The logical widths agree: the drawn text is as wide as the width measured.
        EXPECT_NEAR(ours.width(), theirs.width(), 1);
        const QRect ourBox = InkBox(ours);
        const QRect theirBox = InkBox(theirs);
        ASSERT_FALSE(ourBox.isEmpty());
        EXPECT_NEAR(ourBox.left(), theirBox.left(), 1);
        EXPECT_NEAR(ourBox.width(), theirBox.width(), 1);
        if (!c.MixedFaces) {
            EXPECT_NEAR(ourBox.height(), theirBox.height(), 1);
        }
        // A glyph placed a pixel off, or a mark not on its letter, costs far more.
        const TInkDifference difference = c.MixedFaces ? CompareColumns(ours, ourBox, theirs, theirBox)
                                                       : CompareInk(ours, ourBox, theirs, theirBox);
        EXPECT_LE(difference.Different, difference.Ink / 50) << difference.Different << " of " << difference.Ink;
    }
}

} // namespace

namespace {

TEST(ShapedTextTest, ACharacterNoFaceHasIsListedOnceAndDrawnAsABox)
{
    const auto face = TFontFace::For(MakeFont("DejaVu Sans", 20));
    // U+10FFFD is a private-use character no font gives a glyph; the joiner and the
    // variation selector are not drawn at all and so are never missing.
    const std::u16string text = Utf8ToText("a\xF4\x8F\xBF\xBD" "b\xF4\x8F\xBF\xBD\xE2\x80\x8D\xEF\xB8\x8F");
    EXPECT_EQ(face->MissingCharacters(text), std::vector<char32_t>{0x10FFFD});
    EXPECT_TRUE(face->MissingCharacters(u"Vezodev ロゴ").empty());
    // The box has ink and width of its own between the letters.
    const QImage drawn = DrawnByCanvas(MakeFont("DejaVu Sans", 20), QString::fromUtf8("a\xF4\x8F\xBF\xBD" "b"));
    const QImage letters = DrawnByCanvas(MakeFont("DejaVu Sans", 20), QStringLiteral("ab"));
    EXPECT_GT(drawn.width(), letters.width());
    EXPECT_GT(InkBox(drawn).width(), InkBox(letters).width());
}

TEST(ShapedTextTest, UnderlineAndStrikeOutSpanTheWholeShapedLine)
{
    for (const char* text : {"مرحبا بالعالم", "abc שלום", "नमस्ते", "Party \xF0\x9F\x8E\x89"}) {
        SCOPED_TRACE(text);
        const TFont font = MakeFont("DejaVu Sans", 30, fsUnderline | fsStrikeOut);
        const int width = TFontFace::For(font)->TextWidth(Utf8ToText(text));
        const QImage drawn = DrawnByCanvas(font, QString::fromUtf8(text));
        int bars = 0;
        for (int y = 0; y < drawn.height(); ++y) {
            bool full = true;
            for (int x = Margin; x < Margin + width; ++x)
                full = full && IsInk(drawn, x, y);
            if (full) {
                ++bars;
                EXPECT_FALSE(IsInk(drawn, Margin - 1, y));
                EXPECT_FALSE(IsInk(drawn, Margin + width, y));
            }
        }
        EXPECT_GE(bars, 2); // at least one row of each bar
    }
}

// Extra character spacing goes after each cluster of a shaped line, never between a
// letter and its marks: Thai "กี่ก" is four characters in two clusters.
TEST(ShapedTextTest, ExtraSpacingFallsBetweenClustersNotInsideThem)
{
    const auto face = TFontFace::For(MakeFont("DejaVu Sans", 30));
    const std::u16string text = Utf8ToText("กี่ก");
    if (!face->MissingCharacters(text).empty()) {
        std::printf("[  SKIPPED ] no installed font has Thai\n");
        return;
    }
    EXPECT_EQ(face->TextWidth(text, 12) - face->TextWidth(text), 2 * 12);
    // The marks keep their place over the first letter: the first cluster's columns are
    // drawn alike with and without the spacing.
    TBitmap plain, spaced;
    for (TBitmap* bitmap : {&plain, &spaced}) {
        bitmap->SetSize(200, 60);
        bitmap->Fill(0);
    }
    const TRect all = Rect(0, 0, 200, 60);
    face->DrawLine(plain, all, 10, 5, text, 0xFFFFFFFFu);
    face->DrawLine(spaced, all, 10, 5, text, 0xFFFFFFFFu, 12);
    const int firstCluster = face->TextWidth(Utf8ToText("กี่"));
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 10 + firstCluster; ++x)
            ASSERT_EQ(plain.ScanLine(y)[x], spaced.ScanLine(y)[x]) << x << "," << y;
}

TEST(ShapedTextTest, ThreadsSharingFacesDrawWhatOneThreadDraws)
{
    // A size no other test uses, so that the threads meet the faces, their fallbacks
    // and their shaping fonts while they are first made.
    const TFont font = MakeFont("DejaVu Sans", 37);
    const QStringList texts = {QString::fromUtf8("مرحبا بالعالم"), QString::fromUtf8("नमस्ते दुनिया"),
                               QString::fromUtf8("日本語 Latin عربي"), QString::fromUtf8("Party \xF0\x9F\x8E\x89"),
                               QString::fromUtf8("สวัสดี e\xCC\x81")};
    std::vector<std::vector<QImage>> drawn(4);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < drawn.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 5; ++round) {
                for (const QString& text : texts)
                    drawn[t].push_back(DrawnByCanvas(font, text));
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (std::size_t t = 0; t < drawn.size(); ++t) {
        ASSERT_EQ(drawn[t].size(), 5u * texts.size());
        for (std::size_t i = 0; i < drawn[t].size(); ++i)
            EXPECT_EQ(drawn[t][i], DrawnByCanvas(font, texts[int(i % texts.size())])) << "thread " << t << " image " << i;
    }
}

} // namespace

namespace {

// Captions (the gradient box's DrawText) and cell texts (TextOut) go through the same
// layout: a caption on one line is the line TextOut draws, within the caption's
// rectangle (which clips marks that stand above the text cell).
TEST(ShapedTextTest, CaptionsDrawnWithDrawTextAreShapedAsTextOutShapesThem)
{
    for (const char* text : {"مرحبا بالعالم", "नमस्ते", "日本語 Latin عربي", "Party \xF0\x9F\x8E\x89"}) {
        SCOPED_TRACE(text);
        const std::u16string caption = Utf8ToText(text);
        QImage drawn[2];
        for (int way = 0; way < 2; ++way) {
            TBitmap bitmap(400, 60);
            TCanvas& canvas = bitmap.Canvas();
            canvas.Brush().SetColor(clWhite);
            canvas.FillRect(Rect(0, 0, 400, 60));
            canvas.Brush().SetStyle(bsClear);
            canvas.Font() = MakeFont("DejaVu Sans", 24);
            if (way == 0)
                canvas.TextOut(5, 5, caption);
            else
                canvas.DrawText(caption, Rect(5, 5, 395, 55), DT_WORDBREAK | DT_EXPANDTABS);
            drawn[way] = QImage(reinterpret_cast<const uchar*>(bitmap.Bits()), 400, 60, QImage::Format_RGB32).copy();
        }
        const QRect inside(5, 5, 390, 50);
        EXPECT_EQ(drawn[0].copy(inside), drawn[1].copy(inside));
        EXPECT_FALSE(InkBox(drawn[1]).isEmpty());
    }
}

} // namespace
