#include "platform/raster/Bitmap.h"
#include "platform/raster/FontFace.h"
#include "platform/base/UnicodeText.h"

#include <gtest/gtest.h>

namespace {

TFont MakeFont(const char* name, int height, TFontStyles style = 0)
{
    TFont font;
    font.SetName(Utf8ToText(name));
    font.SetHeight(height);
    font.SetStyle(style);
    return font;
}

struct TMetricsCase {
    const char* Name;
    int Height;
    TFontStyles Style;
    int Ascent;
    int Descent;
};

TEST(FontFaceTest, MetricsFollowTheWindowsAscentAndDescentOfTheSubstituteFaces)
{
    const TMetricsCase cases[] = {
        {"Times New Roman", -29, fsBold, 26, 6},
        {"Times New Roman", 29, 0, 23, 6},
        {"Arial", -15, fsBold, 14, 3},
        {"Symbol", -13, 0, 10, 3},
        {"ＭＳ Ｐゴシック", -12, 0, 11, 2},
    };
    for (const TMetricsCase& c : cases) {
        SCOPED_TRACE(std::string(c.Name) + " " + std::to_string(c.Height));
        const auto held = TFontFace::For(MakeFont(c.Name, c.Height, c.Style));
        const TFontFace& face = *held;
        EXPECT_EQ(face.Ascent(), c.Ascent);
        EXPECT_EQ(face.Descent(), c.Descent);
        // A negative height asks for the character height (the em), a positive one for
        // the cell height.
        if (c.Height < 0)
            EXPECT_EQ(face.Em(), -c.Height);
        else
            EXPECT_EQ(face.Height(), c.Height);
    }
}

TEST(FontFaceTest, TextWidthIsTheSumOfRoundedAdvancesWithoutKerning)
{
    const auto held = TFontFace::For(MakeFont("Times New Roman", -29, fsBold));
    const TFontFace& face = *held;
    EXPECT_EQ(face.TextWidth(u"Vezodev"), 106);
    EXPECT_EQ(face.TextWidth(std::u16string()), 0);
    int sum = 0;
    for (int advance : face.Advances(u"AVAV"))
        sum += advance;
    EXPECT_EQ(face.TextWidth(u"AVAV"), sum);
}

TEST(FontFaceTest, SymbolFaceTakesByteCodesForTheArrows)
{
    const auto held = TFontFace::For(MakeFont("Symbol", -13));
    const TFontFace& face = *held;
    EXPECT_TRUE(face.IsSymbol());
    // Up and down arrows are 603/1000 em, left and right 987/1000 em.
    EXPECT_EQ(face.TextWidth(std::u16string(1, char16_t(0xDF))), 8);
    EXPECT_EQ(face.TextWidth(std::u16string(1, char16_t(0xDE))), 13);
    // The same bytes read as half-width katakana from the Japanese code page.
    EXPECT_EQ(face.TextWidth(std::u16string(1, char16_t(0xFF9F))), 8);
}

} // namespace

namespace {

// A line drawn through a clip is the whole line's pixels inside the clip and nothing
// outside it, wherever the clip's edges fall within a glyph's bytes of bits.
TEST(FontFaceTest, AClippedLineIsTheWholeLineCutAtTheClip)
{
    const auto held = TFontFace::For(MakeFont("Times New Roman", -40, fsBold));
    const TFontFace& face = *held;
    const std::u16string text = u"Vezodev WM";
    const int width = face.TextWidth(text) + 4, height = face.Height() + 2;
    constexpr std::uint32_t Background = 0xFF000000u, Ink = 0xFFFFFFFFu;
    TBitmap whole(width, height);
    whole.Fill(Background);
    face.DrawLine(whole, Rect(0, 0, width, height), 2, 1, text, Ink);
    for (int left = 0; left < 20; ++left) {
        const int right = width - 1 - left * 3;
        SCOPED_TRACE(testing::Message() << "clip " << left << ".." << right);
        TBitmap clipped(width, height);
        clipped.Fill(Background);
        face.DrawLine(clipped, Rect(left, 3, right, height - 3), 2, 1, text, Ink);
        int wrong = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const bool inside = x >= left && x < right && y >= 3 && y < height - 3;
                wrong += clipped.ScanLine(y)[x] != (inside ? whole.ScanLine(y)[x] : Background);
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

} // namespace
