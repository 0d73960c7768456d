#include "platform/raster/FontFile.h"
#include "platform/raster/FontLocator.h"
#include "platform/raster/SizedFontFile.h"
#include "platform/base/UnicodeText.h"

#include "TestFiles.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <thread>
#include <vector>

namespace {

TFontFile Installed(const char* family, bool italic = false)
{
    const TFontFile file = TFontLocator::Shared().Find(Utf8ToText(family), false, italic);
    EXPECT_FALSE(file.Path.empty()) << family << " is not installed";
    return file;
}

// The tables of a single-face font file, found through its own table directory: an
// independent reader of where each table lies.
std::map<std::string, QByteArray> SfntTables(const QString& path)
{
    const QByteArray bytes = ReadAll(path);
    const auto u16 = [&](int at) { return (std::uint8_t(bytes[at]) << 8) | std::uint8_t(bytes[at + 1]); };
    const auto u32 = [&](int at) { return (std::uint32_t(u16(at)) << 16) | std::uint32_t(u16(at + 2)); };
    std::map<std::string, QByteArray> tables;
    for (int record = 12, end = 12 + 16 * u16(4); record < end; record += 16)
        tables[bytes.mid(record, 4).toStdString()] = bytes.mid(int(u32(record + 8)), int(u32(record + 12)));
    return tables;
}

TFontTables::TBytes Bytes(const QByteArray& table)
{
    return {reinterpret_cast<const unsigned char*>(table.constData()), std::size_t(table.size())};
}

TEST(SizedFontFileTest, ReadsTheValuesOfTheFilesOwnTables)
{
    const TFontFile file = Installed("DejaVu Sans");
    auto tables = SfntTables(QString::fromStdString(file.Path));
    ASSERT_TRUE(tables.count("OS/2") && tables.count("post") && tables.count("hmtx"));
    const TFontTables expected = TFontTables::Read(
        {Bytes(tables["head"]), Bytes(tables["hhea"]), Bytes(tables["hmtx"]), Bytes(tables["OS/2"]), Bytes(tables["post"])});
    TSizedFontFile sized(file, u"DejaVu Sans", 0);
    const TFontTables& read = sized.Tables();
    EXPECT_EQ(read.UnitsPerEm, expected.UnitsPerEm);
    EXPECT_EQ(read.AdvanceUnits, expected.AdvanceUnits);
    EXPECT_EQ(read.WinAscent, expected.WinAscent);
    EXPECT_EQ(read.WinDescent, expected.WinDescent);
    EXPECT_EQ(read.AverageCharWidth, expected.AverageCharWidth);
    EXPECT_EQ(read.StrikeoutSize, expected.StrikeoutSize);
    EXPECT_EQ(read.StrikeoutPosition, expected.StrikeoutPosition);
    EXPECT_EQ(read.UnderlinePosition, expected.UnderlinePosition);
    EXPECT_EQ(read.UnderlineThickness, expected.UnderlineThickness);
    const TSizedFontFile::TVerticalUnits vertical = sized.VerticalUnits();
    EXPECT_EQ(vertical.Ascent, expected.WinAscent);
    EXPECT_EQ(vertical.Descent, expected.WinDescent);
}

// At an em far beyond any that the window or the renderer allows, the advance is still
// the table's width scaled to the em, not a product that wrapped around in 32 bits.
TEST(SizedFontFileTest, AdvancesAtAHugeEmAreScaledWithoutOverflow)
{
    const TFontFile file = Installed("DejaVu Sans");
    TSizedFontFile sized(file, u"DejaVu Sans", 0);
    const int em = 10000000;
    sized.SetEm(em);
    const std::vector<std::uint16_t>& units = sized.Tables().AdvanceUnits;
    ASSERT_GT(units.size(), 40u);
    const std::int64_t upem = sized.Tables().UnitsPerEm;
    for (std::uint32_t glyph : {36u, 40u}) {
        const std::int64_t expected = (std::int64_t(units[glyph]) * em + upem / 2) / upem;
        ASSERT_GT(std::int64_t(units[glyph]) * em, std::int64_t(INT32_MAX));
        EXPECT_EQ(sized.Advance(glyph), expected);
    }
}

// HarfBuzz's command-line shaper on the same file, without kerning or ligatures, gives
// each character's glyph and its unhinted advance, as the advance table has it.
TEST(SizedFontFileTest, GlyphsAndAdvancesAreThoseHarfBuzzFindsInTheSameFile)
{
    const TFontFile file = Installed("Liberation Serif");
    const QString text = QStringLiteral("AVWTo fly 1;");
    for (const int em : {13, 29, 400}) {
        SCOPED_TRACE(em);
        QProcess shape;
        shape.start(QStringLiteral("hb-shape"),
                    {QStringLiteral("--font-size=%1").arg(em * 64), QStringLiteral("--font-ppem=%1").arg(em),
                     QStringLiteral("--features=-kern,-liga"), QStringLiteral("--no-glyph-names"),
                     QStringLiteral("--output-format=json"), QString::fromStdString(file.Path), text});
        ASSERT_TRUE(shape.waitForFinished() && shape.exitCode() == 0) << shape.readAllStandardError().toStdString();
        const QJsonArray glyphs = QJsonDocument::fromJson(shape.readAllStandardOutput()).array();
        ASSERT_EQ(glyphs.size(), text.size());
        TSizedFontFile sized(file, u"Liberation Serif", 0);
        sized.SetEm(em);
        for (qsizetype i = 0; i < text.size(); ++i) {
            SCOPED_TRACE(text.mid(i, 1).toStdString());
            const QJsonObject reference = glyphs[i].toObject();
            const std::uint32_t glyph = sized.GlyphOf(text[i].unicode());
            EXPECT_EQ(glyph, std::uint32_t(reference[QLatin1String("g")].toInt()));
            EXPECT_EQ(sized.Advance(glyph), int(std::floor(reference[QLatin1String("ax")].toDouble() / 64 + 0.5)));
        }
    }
}

TEST(SizedFontFileTest, TabAndNoBreakSpaceTakeTheSpaceOnlyWhereTheFaceLacksThem)
{
    TSizedFontFile sized(Installed("DejaVu Sans"), u"DejaVu Sans", 0);
    sized.SetEm(20);
    const std::uint32_t space = sized.GlyphOf(U' ');
    ASSERT_NE(space, 0u);
    EXPECT_EQ(sized.GlyphOf(U'\t'), space);
    EXPECT_NE(sized.GlyphOf(0xA0), 0u); // DejaVu has a no-break space of its own
    EXPECT_EQ(sized.GlyphOf(0x01), 0u);
    EXPECT_EQ(sized.GlyphOf(0x10FFFD), 0u);
}

TEST(SizedFontFileTest, AFileThatCannotBeOpenedHasNoGlyphsAndDrawsNothing)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString text = folder.filePath(QStringLiteral("not-a-font.ttf"));
    WriteAll(text, QByteArray("true type, it says\n"));
    const QString cut = folder.filePath(QStringLiteral("cut.ttf"));
    WriteAll(cut, ReadAll(QString::fromStdString(Installed("DejaVu Sans").Path)).left(12));
    for (const QString& path : {QString(), folder.filePath(QStringLiteral("missing.ttf")), text, cut}) {
        SCOPED_TRACE(path.toStdString());
        TSizedFontFile sized(TFontFile{path.toStdString(), 0, u"DejaVu Sans", true}, u"DejaVu Sans", 0);
        sized.SetEm(20);
        EXPECT_EQ(sized.GlyphOf(U'A'), 0u);
        EXPECT_EQ(sized.Advance(0), 0);
        EXPECT_TRUE(sized.Bitmap(0)->Bits.empty());
        EXPECT_EQ(sized.ShaperFont(), nullptr);
        EXPECT_EQ(sized.VerticalUnits().Ascent + sized.VerticalUnits().Descent, 0);
    }
}

TEST(SizedFontFileTest, AnItalicIsSlantedOnlyWhereTheFaceHasNone)
{
    const auto width = [](const TFontFile& file, TFontStyles style, char32_t code) {
        TSizedFontFile sized(file, file.Family, style);
        sized.SetEm(40);
        return sized.Bitmap(sized.GlyphOf(code))->Width;
    };
    // IPAPGothic has no italic: its upright glyphs lean, and so grow wider.
    const TFontFile gothic = Installed("IPAPGothic", true);
    EXPECT_GT(width(gothic, fsItalic, U'I'), width(gothic, 0, U'I'));
    // DejaVu Sans has an oblique face of its own, which is not slanted again.
    const TFontFile oblique = Installed("DejaVu Sans", true);
    EXPECT_EQ(width(oblique, fsItalic, U'I'), width(oblique, 0, U'I'));
}

// Bitmaps are drawn under the file's lock and read after it; threads asking for the
// same glyphs at once get one bitmap each, the same a single thread draws.
TEST(SizedFontFileTest, ThreadsAskingForTheSameGlyphsShareOneBitmapEach)
{
    const TFontFile file = Installed("DejaVu Serif");
    constexpr std::uint32_t Glyphs = 400;
    TSizedFontFile alone(file, file.Family, 0);
    alone.SetEm(37);
    TSizedFontFile shared(file, file.Family, 0);
    shared.SetEm(37);
    std::vector<std::vector<TGlyphCache::TBitmapPtr>> seen(4);
    std::vector<std::thread> threads;
    for (auto& bitmaps : seen) {
        threads.emplace_back([&shared, &bitmaps] {
            for (std::uint32_t glyph = 0; glyph < Glyphs; ++glyph)
                bitmaps.push_back(shared.Bitmap(glyph));
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (std::uint32_t glyph = 0; glyph < Glyphs; ++glyph) {
        SCOPED_TRACE(glyph);
        for (const auto& bitmaps : seen)
            ASSERT_EQ(bitmaps[glyph], seen[0][glyph]);
        const TGlyphCache::TBitmapPtr expected = alone.Bitmap(glyph);
        EXPECT_EQ(seen[0][glyph]->Bits, expected->Bits);
        EXPECT_EQ(seen[0][glyph]->Left, expected->Left);
        EXPECT_EQ(seen[0][glyph]->Top, expected->Top);
        EXPECT_EQ(seen[0][glyph]->Width, expected->Width);
    }
}

// A long run of distinct kanji at 400 pixels draws tens of megabytes of bitmaps; the
// file keeps a few of them, the last drawn among them.
TEST(SizedFontFileTest, DistinctKanjiAtALargeEmKeepOnlyAFewMegabytesOfBitmaps)
{
    const TFontFile file = Installed("IPAGothic");
    TSizedFontFile sized(file, file.Family, 0);
    sized.SetEm(400);
    std::size_t drawn = 0;
    std::size_t most = 0;
    std::uint32_t lastGlyph = 0;
    TGlyphCache::TBitmapPtr last;
    for (char32_t code = 0x4E00; code < 0x4E00 + 2000; ++code) {
        lastGlyph = sized.GlyphOf(code);
        last = sized.Bitmap(lastGlyph);
        drawn += last->Bits.size();
        most = std::max(most, sized.GlyphBytes());
    }
    EXPECT_GT(drawn, std::size_t(20) << 20);
    EXPECT_LE(most, std::size_t(4) << 20);
    EXPECT_EQ(sized.Bitmap(lastGlyph), last);
}

// Threads draw distinct glyphs through one file that keeps only a few bitmaps, so each
// bitmap is let go while its thread still reads it: every one is read intact (a freed
// one would be caught by the address sanitizer).
TEST(SizedFontFileTest, ThreadsReadTheirBitmapsIntactWhileTheFileLetsGoOfThem)
{
    const TFontFile file = Installed("DejaVu Serif");
    constexpr int Threads = 4;
    constexpr std::uint32_t Glyphs = 600;
    TSizedFontFile alone(file, file.Family, 0);
    alone.SetEm(48);
    std::vector<TGlyphCache::TBitmapPtr> expected;
    for (std::uint32_t glyph = 0; glyph < Glyphs; ++glyph)
        expected.push_back(alone.Bitmap(glyph));
    TSizedFontFile shared(file, file.Family, 0);
    shared.SetEm(48);
    shared.LimitGlyphs(4 * TGlyphCache::EntryBytes + 1024);
    std::vector<int> wrong(Threads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < Threads; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 3; ++round) {
                for (std::uint32_t glyph = std::uint32_t(t); glyph < Glyphs; glyph += Threads) {
                    const TGlyphCache::TBitmapPtr bitmap = shared.Bitmap(glyph);
                    const TGlyphCache::TBitmapPtr other = shared.Bitmap((glyph + 1) % Glyphs);
                    wrong[std::size_t(t)] += bitmap->Bits != expected[glyph]->Bits || bitmap->Top != expected[glyph]->Top
                        || other->Bits != expected[(glyph + 1) % Glyphs]->Bits;
                }
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, std::vector<int>(Threads, 0));
    EXPECT_LE(shared.GlyphBytes(), 4 * TGlyphCache::EntryBytes + 1024);
}

} // namespace
