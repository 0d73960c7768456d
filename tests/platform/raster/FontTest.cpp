#include "platform/raster/Font.h"

#include <gtest/gtest.h>

namespace {

TEST(FontTest, MulDivRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(MulDiv(3, 1, 2), 2);
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(2, 1, 3), 1);
    EXPECT_EQ(MulDiv(-2, 1, 3), -1);
    EXPECT_EQ(MulDiv(7, 1, -2), -4);
    EXPECT_EQ(MulDiv(0, -5, 2), 0);
    EXPECT_EQ(MulDiv(5, 1, 0), -1);
    EXPECT_EQ(MulDiv(0x7FFFFFFF, 4, 2), -1);
}

TEST(FontTest, SizeAndHeightConvertAtNinetySixPixelsPerInch)
{
    struct TCase { int Height; int Size; int HeightAgain; };
    const TCase cases[] = {
        {-29, 22, -29}, {-12, 9, -12}, {-13, 10, -13}, {-15, 11, -15}, {-10, 8, -11},
        {-14, 11, -15}, {-18, 14, -19}, {29, -22, 29}, {13, -10, 13},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Height);
        TFont font;
        font.SetHeight(c.Height);
        EXPECT_EQ(font.Size(), c.Size);
        font.SetSize(font.Size());
        EXPECT_EQ(font.Height(), c.HeightAgain);
    }
}

TEST(FontTest, ChangesAreSignalledAndCopiesDoNotTakeTheHandler)
{
    TFont font;
    int changes = 0;
    font.OnChange = [&] { ++changes; };
    font.SetColor(0x123456);
    font.SetColor(0x123456);
    font.SetStyle(fsBold | 16);
    EXPECT_EQ(font.Style(), static_cast<TFontStyles>(fsBold));
    EXPECT_EQ(changes, 2);
    TFont copy(font);
    EXPECT_FALSE(copy.OnChange);
    EXPECT_TRUE(copy.SameAttributes(font));
    TFont other;
    other.Assign(font);
    EXPECT_TRUE(other.SameAttributes(font));
    font.Assign(other);
    EXPECT_EQ(changes, 3);
}

} // namespace
