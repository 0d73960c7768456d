#include "platform/raster/FontTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

using TTable = std::vector<unsigned char>;

// A table of the given length whose bytes all differ from their neighbours, so that a
// field read one byte off its place reads another value.
TTable Table(std::size_t length)
{
    TTable table(length);
    for (std::size_t i = 0; i < length; ++i)
        table[i] = static_cast<unsigned char>(0x11 + 7 * i);
    return table;
}

void Put16(TTable& table, std::size_t offset, int value)
{
    table[offset] = static_cast<unsigned char>((value >> 8) & 0xFF);
    table[offset + 1] = static_cast<unsigned char>(value & 0xFF);
}

// Tables of a font with 2048 units to the em, as long as their current versions.
struct TFontBytes {
    TTable Head = Table(54);
    TTable Hhea = Table(36);
    TTable Hmtx = Table(12);
    TTable Os2 = Table(96);
    TTable Post = Table(32);

    TFontBytes()
    {
        Put16(Head, 18, 2048);
        Put16(Hhea, 34, 3);
        Put16(Hmtx, 0, 1229);
        Put16(Hmtx, 4, 0x8001); // above the largest int16: advances are unsigned
        Put16(Hmtx, 8, 569);
        Put16(Os2, 2, 1176);
        Put16(Os2, 26, 102);
        Put16(Os2, 28, 530);
        Put16(Os2, 74, 0xC000); // usWin* are unsigned
        Put16(Os2, 76, 434);
        Put16(Post, 8, -217);
        Put16(Post, 10, 150);
    }

    TFontTables::TSource Source() const { return {Head, Hhea, Hmtx, Os2, Post}; }
};

TEST(FontTablesTest, ReadsEachFieldBigEndianAtItsOffset)
{
    const TFontTables tables = TFontTables::Read(TFontBytes().Source());
    EXPECT_EQ(tables.UnitsPerEm, 2048);
    EXPECT_EQ(tables.AdvanceUnits, (std::vector<std::uint16_t>{1229, 0x8001, 569}));
    EXPECT_EQ(tables.AverageCharWidth, 1176);
    EXPECT_EQ(tables.StrikeoutSize, 102);
    EXPECT_EQ(tables.StrikeoutPosition, 530);
    EXPECT_EQ(tables.WinAscent, 0xC000);
    EXPECT_EQ(tables.WinDescent, 434);
    EXPECT_EQ(tables.UnderlinePosition, -217);
    EXPECT_EQ(tables.UnderlineThickness, 150);
}

TEST(FontTablesTest, AFontWithoutTablesHasNoFieldsAndSixteenUnitsToTheEm)
{
    const TFontTables tables = TFontTables::Read({});
    EXPECT_EQ(tables.UnitsPerEm, 16);
    EXPECT_TRUE(tables.AdvanceUnits.empty());
    EXPECT_FALSE(tables.WinAscent || tables.WinDescent || tables.AverageCharWidth || tables.StrikeoutSize
                 || tables.StrikeoutPosition || tables.UnderlinePosition || tables.UnderlineThickness);
}

TEST(FontTablesTest, UnitsPerEmIsNeverBelowSixteen)
{
    const struct {
        int Field;
        int Expected;
    } cases[] = {{0, 16}, {1, 16}, {15, 16}, {16, 16}, {17, 17}, {1000, 1000}, {16384, 16384}, {0xFFFF, 0xFFFF}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Field);
        TFontBytes font;
        Put16(font.Head, 18, c.Field);
        EXPECT_EQ(TFontTables::Read(font.Source()).UnitsPerEm, c.Expected);
    }
}

// A table cut anywhere, even inside a field, and followed in memory by other bytes:
// each field is read when it lies wholly inside what is left, with the value the whole
// table gives, and is absent otherwise. A reader that looked past the cut would read
// the bytes after it, and give another value.
TEST(FontTablesTest, ATableCutShortLosesTheFieldsPastTheCutAndNoOthers)
{
    struct TField {
        const char* Name;
        TTable TFontBytes::*Table;
        std::size_t Offset;
        std::function<std::optional<int>(const TFontTables&)> Value;
    };
    const TField fields[] = {
        {"head.unitsPerEm", &TFontBytes::Head, 18,
         [](const TFontTables& t) { return t.UnitsPerEm == 16 ? std::nullopt : std::optional<int>(t.UnitsPerEm); }},
        {"OS/2.xAvgCharWidth", &TFontBytes::Os2, 2, [](const TFontTables& t) { return t.AverageCharWidth; }},
        {"OS/2.yStrikeoutSize", &TFontBytes::Os2, 26, [](const TFontTables& t) { return t.StrikeoutSize; }},
        {"OS/2.yStrikeoutPosition", &TFontBytes::Os2, 28, [](const TFontTables& t) { return t.StrikeoutPosition; }},
        {"OS/2.usWinAscent", &TFontBytes::Os2, 74, [](const TFontTables& t) { return t.WinAscent; }},
        {"OS/2.usWinDescent", &TFontBytes::Os2, 76, [](const TFontTables& t) { return t.WinDescent; }},
        {"post.underlinePosition", &TFontBytes::Post, 8, [](const TFontTables& t) { return t.UnderlinePosition; }},
        {"post.underlineThickness", &TFontBytes::Post, 10, [](const TFontTables& t) { return t.UnderlineThickness; }},
    };
    const TFontBytes whole;
    const TFontTables full = TFontTables::Read(whole.Source());
    for (const TField& field : fields) {
        const TTable& table = whole.*field.Table;
        for (std::size_t length = 0; length <= table.size(); ++length) {
            SCOPED_TRACE(std::string(field.Name) + " in a table of " + std::to_string(length) + " bytes");
            TFontBytes font;
            TTable& cut = font.*field.Table;
            std::fill(cut.begin() + std::ptrdiff_t(length), cut.end(), 0xEE);
            TFontTables::TSource source = font.Source();
            if (field.Table == &TFontBytes::Head)
                source.Head = source.Head.first(length);
            else if (field.Table == &TFontBytes::Os2)
                source.Os2 = source.Os2.first(length);
            else
                source.Post = source.Post.first(length);
            const std::optional<int> read = field.Value(TFontTables::Read(source));
            if (length >= field.Offset + 2)
                EXPECT_EQ(read, field.Value(full));
            else
                EXPECT_EQ(read, std::nullopt);
        }
    }
}

TEST(FontTablesTest, AdvancesEndAtTheLastOneTheTableHoldsWhateverHheaCounts)
{
    const struct {
        const char* Name;
        int Count;            // hhea.numberOfHMetrics
        std::size_t HmtxSize; // bytes of hmtx given
        std::size_t HheaSize;
        std::size_t Expected;
    } cases[] = {
        {"as counted", 3, 12, 36, 3},
        {"fewer counted than held", 2, 12, 36, 2},
        {"none counted", 0, 12, 36, 0},
        {"the last record without its side bearing", 3, 10, 36, 3},
        {"the last advance cut in half", 3, 9, 36, 2},
        {"far more counted than held", 0xFFFF, 12, 36, 3},
        {"no hmtx", 3, 0, 36, 0},
        {"one byte of hmtx", 3, 1, 36, 0},
        {"hhea cut before the count", 3, 12, 35, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TFontBytes font;
        Put16(font.Hhea, 34, c.Count);
        TFontTables::TSource source = font.Source();
        source.Hmtx = source.Hmtx.first(c.HmtxSize);
        source.Hhea = source.Hhea.first(c.HheaSize);
        const TFontTables tables = TFontTables::Read(source);
        ASSERT_EQ(tables.AdvanceUnits.size(), c.Expected);
        const std::vector<std::uint16_t> widths = {1229, 0x8001, 569};
        for (std::size_t i = 0; i < c.Expected; ++i)
            EXPECT_EQ(tables.AdvanceUnits[i], widths[i]);
    }
}

} // namespace
