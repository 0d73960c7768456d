#include "composer/LogoComposer.h"

#include "platform/base/Exception.h"
#include "platform/base/UnicodeText.h"
#include "platform/raster/FontFace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Every pixel of the bitmap, row by row.
std::vector<std::uint32_t> PixelsOf(const TBitmap& bitmap)
{
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < bitmap.Height(); ++y)
        pixels.insert(pixels.end(), bitmap.ScanLine(y), bitmap.ScanLine(y) + bitmap.Width());
    return pixels;
}

TLogoParams BlackOnWhite(std::u16string_view text)
{
    TLogoParams params = TLogoParams::Defaults();
    params.Text = text;
    params.BgColor = clWhite;
    params.TopColor = 0x000000;
    params.LastColor = 0xFFFFFF;
    return params;
}

void Build(const TLogoParams& params, TLogoLayers& layers)
{
    TLogoComposer::Compose(params, layers);
}

// The first and one past the last row that holds a pixel other than the background.
std::pair<int, int> InkSpan(const TBitmap& bitmap, TColor background)
{
    std::pair<int, int> span{bitmap.Height(), 0};
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (bitmap.Pixel(x, y) != background)
                span = {std::min(span.first, y), y + 1};
    return span;
}

TEST(LogoComposerTest, SizeIsTheTextExtentPlusTwiceTheMargins)
{
    TLogoParams params = TLogoParams::Defaults();
    params.Text = u"Vezodev";
    EXPECT_EQ(TLogoComposer::LogoSize(params), (TSize{106, 32}));
    params.HSpace = 10;
    params.VSpace = 5;
    EXPECT_EQ(TLogoComposer::LogoSize(params), (TSize{126, 42}));
    TLogoLayers layers;
    Build(params, layers);
    EXPECT_EQ(layers.Text.Width(), 126);
    EXPECT_EQ(layers.Gradient.Height(), 42);
    EXPECT_EQ(layers.Composite.Width(), 126);
}

TEST(LogoComposerTest, TextCellStartsAtTheMarginsInAnOpaqueBackground)
{
    TLogoParams params = BlackOnWhite(u"I");
    params.BgColor = 0x00336699;
    params.HSpace = 10;
    params.VSpace = 5;
    TLogoLayers layers;
    Build(params, layers);
    int left = layers.Text.Width(), top = layers.Text.Height();
    for (int y = 0; y < layers.Text.Height(); ++y)
        for (int x = 0; x < layers.Text.Width(); ++x) {
            const TColor pixel = layers.Text.Pixel(x, y);
            if (pixel != 0x00336699) {
                EXPECT_EQ(pixel, 0x000000u);
                left = std::min(left, x);
                top = std::min(top, y);
            }
        }
    EXPECT_GE(left, 10);
    EXPECT_GE(top, 5);
    EXPECT_LT(left, layers.Text.Width() - 10);
}

TEST(LogoComposerTest, MixCellsGiveTheirBitwiseResults)
{
    struct TCase {
        TMixType Mix;
        const char* Look;
    };
    for (const TCase& c : {TCase{mtSrcErase, "gradient letters on black"}, TCase{mtSrcPaint, "gradient letters on white"},
                           TCase{mtSrcInvert, "letters on the inverted gradient"}, TCase{mtSrcAnd, "black letters on the gradient"}}) {
        SCOPED_TRACE(c.Look);
        TLogoParams params = BlackOnWhite(u"HI");
        params.MixType = c.Mix;
        TLogoLayers layers;
        Build(params, layers);
        for (int y = 0; y < layers.Text.Height(); ++y)
            for (int x = 0; x < layers.Text.Width(); ++x) {
                const TColor t = layers.Text.Pixel(x, y);
                const TColor g = layers.Gradient.Pixel(x, y);
                const TColor expected = c.Mix == 1 ? (g & ~t & 0xFFFFFF) : c.Mix == 2 ? (g | t) : c.Mix == 3 ? (g ^ t) : (g & t);
                ASSERT_EQ(layers.Composite.Pixel(x, y), expected) << x << "," << y;
                const bool letter = t == 0x000000;
                const TColor look = c.Mix == 1 ? (letter ? g : 0u) : c.Mix == 2 ? (letter ? g : 0xFFFFFFu)
                    : c.Mix == 3 ? (letter ? g : 0xFFFFFF - g) : (letter ? 0u : g);
                ASSERT_EQ(layers.Composite.Pixel(x, y), look);
            }
    }
}

TEST(LogoComposerTest, DirectionChangesTheGradientButNotTheTextLayer)
{
    TLogoParams params = BlackOnWhite(u"Vezodev");
    TLogoLayers down;
    Build(params, down);
    params.GraType = gtBottomTop;
    TLogoLayers up;
    Build(params, up);
    EXPECT_EQ(PixelsOf(down.Text), PixelsOf(up.Text));
    EXPECT_NE(PixelsOf(down.Gradient), PixelsOf(up.Gradient));
    EXPECT_EQ(up.Gradient.Pixel(0, 0), 0xFFFFFFu - down.Gradient.Pixel(0, 0) + 0x000000u);
}

// A caller that keeps only the composite gets the same composite, text layer and key,
// whatever was left in its layers by an earlier logo; its gradient layer is not drawn
// unless smooth edges need it.
TEST(LogoComposerTest, CompositeOnlyGivesTheSameLogoWithoutDrawingTheGradientLayer)
{
    TLogoLayers kept;
    for (const int smooth : {0, 4}) {
        for (const bool outline : {false, true}) {
            for (const TGraType direction : {gtTopBottom, gtLeftRight, gtBottomTop, gtRightLeft}) {
                for (const TMixType mix : {mtSrcErase, mtSrcPaint, mtSrcInvert, mtSrcAnd}) {
                    SCOPED_TRACE(testing::Message() << "smooth " << smooth << " outline " << outline << " direction "
                                                    << direction << " mix " << mix);
                    TLogoParams params = BlackOnWhite(u"Vezodev");
                    params.BgColor = 0x336699;
                    params.TopColor = 0x10C020;
                    params.LastColor = 0xF01080;
                    params.Smooth = smooth;
                    params.Effects.OutlineWidth = outline ? 2 : 0;
                    params.GraType = direction;
                    params.MixType = mix;
                    params.Font.SetHeight(-(20 + direction + mix));
                    TLogoLayers every;
                    TLogoComposer::Compose(params, every);
                    kept.Gradient.SetSize(5, 3);
                    TLogoComposer::Compose(params, kept, luCompositeOnly);
                    EXPECT_EQ(PixelsOf(kept.Composite), PixelsOf(every.Composite));
                    EXPECT_EQ(PixelsOf(kept.Text), PixelsOf(every.Text));
                    EXPECT_EQ(PixelsOf(kept.OpaqueKey), PixelsOf(every.OpaqueKey));
                    if (smooth == 0) {
                        EXPECT_EQ(kept.Gradient.Width(), 5);
                    }
                }
            }
        }
    }
}

// A logo stored with system colours is drawn with their classic values, whatever the
// desktop the window draws its controls for.
TEST(LogoComposerTest, SystemColoursDrawTheirClassicValuesWhateverTheDisplayColours)
{
    TLogoParams params = TLogoParams::Defaults();
    params.Text = u"Sys";
    params.BgColor = clBtnFace;
    params.TopColor = clHighlight;
    params.LastColor = clInfoBk;
    params.Font.SetColor(clWindowText);
    params.Effects.OutlineWidth = 1;
    params.Effects.OutlineColor = clBtnShadow;
    params.Effects.ShadowX = 2;
    params.Effects.ShadowY = 2;
    params.Effects.ShadowColor = clHighlightText;
    TLogoLayers classic;
    Build(params, classic);
    TSystemColorValues dark;
    dark.fill(0x00302010);
    SetDisplaySystemColors(dark);
    TLogoLayers shown;
    Build(params, shown);
    SetDisplaySystemColors(ClassicSystemColors());
    EXPECT_EQ(PixelsOf(shown.Composite), PixelsOf(classic.Composite));
    EXPECT_EQ(PixelsOf(shown.Text), PixelsOf(classic.Text));
    EXPECT_EQ(PixelsOf(shown.Gradient), PixelsOf(classic.Gradient));
    EXPECT_EQ(classic.Text.Pixel(0, 0), 0xC0C0C0u) << "the background is the classic face";
}

TEST(LogoComposerTest, SizesOfZeroOrLessGiveEmptyLayers)
{
    TLogoParams params = TLogoParams::Defaults();
    params.Text = std::u16string();
    TLogoLayers layers;
    Build(params, layers);
    EXPECT_TRUE(layers.Text.Empty());
    EXPECT_TRUE(layers.Composite.Empty());
    params.Text = u"x";
    params.VSpace = -100;
    Build(params, layers);
    EXPECT_TRUE(layers.Composite.Empty());
}

TEST(LogoComposerTest, RefusesAHugeLogoBeforeAllocating)
{
    TLogoParams params = TLogoParams::Defaults();
    params.Text.assign(2000, u'W');
    params.Font.SetHeight(-400);
    const TSize size = TLogoComposer::LogoSize(params);
    ASSERT_GT(size.Width, TLogoComposer::MaxSide);
    TBitmap layer;
    try {
        TLogoComposer::RenderTextLayer(params, layer);
        FAIL() << "no error";
    } catch (const ELogoSizeError& error) {
        EXPECT_NE(error.Message().find(IntText(size.Width) + u" x " + IntText(size.Height)), std::u16string::npos);
    }
    EXPECT_TRUE(layer.Empty());
    EXPECT_THROW(TLogoComposer::CheckLogoSize(TLogoExtent{9000, 8000}), ELogoSizeError); // 72 megapixels
    EXPECT_NO_THROW(TLogoComposer::CheckLogoSize(TLogoExtent{8192, 8192}));
}

// Marks above and tails below that reach past the chosen face's cell (Devanagari vowel
// signs, Thai marks and Arabic tails from fallback faces, marks stacked in the chosen face
// itself) grow the layer by just the rows the margin does not hold: the layer is the
// same text drawn with a margin that holds everything, less the rows no ink needs. Text
// whose ink fits the cell keeps the size it always had.
TEST(LogoComposerTest, InkPastTheCellGrowsTheLayerByWhatTheMarginDoesNotHold)
{
    constexpr int Held = 60;
    struct TCase {
        const char* Font;
        const char* Text;
        int VSpace;
        bool Grows;
    };
    const TCase cases[] = {
        {"Times New Roman", "नमस्ते สวัสดี مرحبا", 0, true},
        {"Times New Roman", "नमस्ते สวัสดี مرحبا", 1, true},
        {"Times New Roman", "नमस्ते สวัสดี مرحبا", 20, false},
        {"DejaVu Sans", "A\xCC\x82\xCC\x82\xCC\x82 g\xCC\xA3\xCC\xA3\xCC\xA3", 0, true}, // stacked in the own face
        {"Times New Roman", "Vezodev", 0, false},
        {"Times New Roman", "Agy \xC3\x85\xC3\x89", 0, false},
        {"ＭＳ Ｐゴシック", "ロゴ作成ツール", 0, false},
        {"ＭＳ Ｐゴシック", "日本語 Text", 0, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Font << " '" << c.Text << "' vspace " << c.VSpace);
        TLogoParams params = BlackOnWhite(Utf8ToText(c.Text));
        params.Font.SetName(Utf8ToText(c.Font));
        params.VSpace = c.VSpace;
        TLogoParams held = params;
        held.VSpace = Held;
        TBitmap layer, reference;
        TLogoComposer::RenderTextLayer(params, layer);
        TLogoComposer::RenderTextLayer(held, reference);
        const int cell = TFontFace::For(params.Font)->Height();
        ASSERT_EQ(reference.Height(), cell + 2 * Held);
        const auto [top, bottom] = InkSpan(reference, clWhite);
        const int above = std::max(Held - c.VSpace - top, 0);
        const int below = std::max(bottom - Held - cell - c.VSpace, 0);
        EXPECT_EQ(above + below > 0, c.Grows);
        ASSERT_EQ(layer.Height(), cell + 2 * c.VSpace + above + below);
        EXPECT_EQ(TLogoComposer::LogoSize(params), (TSize{layer.Width(), layer.Height()}));
        const int first = Held - c.VSpace - above; // the reference's row that is the layer's top row
        for (int y = 0; y < layer.Height(); ++y)
            ASSERT_TRUE(std::equal(layer.ScanLine(y), layer.ScanLine(y) + layer.Width(), reference.ScanLine(first + y))) << "row " << y;
    }
}

// Advances are summed in 64 bits: 262,144 W of 16,384 pixels each are 2^32 pixels, which
// an int sum wraps to 0 (a logo of the margins alone, 20 pixels wide). The logo is
// refused with its true size.
TEST(LogoComposerTest, AWidthPastTheIntRangeIsRefusedWithItsTrueSize)
{
    TLogoParams params = TLogoParams::Defaults();
    params.Text.assign(262144, u'W');
    params.Font.SetHeight(-16384);
    params.HSpace = 10;
    const auto face = TFontFace::For(params.Font);
    const long long width = params.Text.size() * face->Advances(u"W").front() + 20LL;
    ASSERT_GE(width, 1LL << 32);
    ASSERT_GT(TLogoComposer::LogoSize(params).Width, TLogoComposer::MaxSide);
    TBitmap layer;
    try {
        TLogoComposer::RenderTextLayer(params, layer);
        FAIL() << "no error";
    } catch (const ELogoSizeError& error) {
        EXPECT_EQ(error.Message(), Utf8ToText("ロゴが大きすぎます (" + std::to_string(width) + " x " + std::to_string(face->Height()) + ")"));
    }
    EXPECT_TRUE(layer.Empty());
}

} // namespace
