#include "composer/LogoComposer.h"
#include "composer/LogoSmoother.h"

#include "platform/base/UnicodeText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <random>
#include <utility>

#include "LeftRightLogo.h"

namespace {

constexpr TColor Background = 0x00336699;
constexpr TColor Letters = 0x001122CC;

TLogoParams Sample(std::u16string_view text, TMixType mixType, int smooth)
{
    TLogoParams params = LeftRightLogo(text, Background, 0x0000A0F0, 0x00F01040, mixType);
    params.Font.SetHeight(-60);
    params.Font.SetColor(Letters);
    params.HSpace = 6;
    params.VSpace = 4;
    params.Smooth = smooth;
    return params;
}

// The mix table, one pixel at a time, in 0x00BBGGRR.
TColor Mix(int mixType, TColor gradient, TColor text)
{
    switch (mixType) {
    case 1: return gradient & ~text & 0xFFFFFF;
    case 2: return gradient | text;
    case 3: return (gradient ^ text) & 0xFFFFFF;
    default: return gradient & text;
    }
}

int Channel(TColor color, int shift)
{
    return static_cast<int>((color >> shift) & 0xFF);
}

// True when the text layer is one colour in the (2 r + 1) square around (x, y).
bool Uniform(const TBitmap& text, int x, int y, int r)
{
    const TColor centre = text.Pixel(x, y);
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
            const TColor pixel = text.Pixel(x + dx, y + dy);
            if (pixel != clNone && pixel != centre)
                return false;
        }
    return true;
}

TEST(LogoSmootherTest, WithoutSmoothingTheCompositeIsThePlainMix)
{
    TLogoLayers layers;
    TLogoComposer::Compose(Sample(u"Vezodev", mtSrcPaint, 0), layers);
    TBitmap mixed;
    TLayerSteps::MixLayers(layers.Text, layers.Gradient, mtSrcPaint, mixed);
    ASSERT_EQ(mixed.Width(), layers.Composite.Width());
    for (int y = 0; y < mixed.Height(); ++y)
        ASSERT_TRUE(std::equal(mixed.ScanLine(y), mixed.ScanLine(y) + mixed.Width(), layers.Composite.ScanLine(y)));
}

// For every mix and several factors: the plain logo's size, exactly its colours
// inside the letters and in the background, and edge pixels between the letter's
// and the background's mixed colour over the same gradient pixel. A vowel sign above
// the cell grows the logo without a margin: the enlarged text is drawn where the plain
// layer has it.
TEST(LogoSmootherTest, SmoothLogoKeepsSizeInteriorColoursAndBlendsEdges)
{
    for (const auto& [text, vspace] : {std::pair{"H", 4}, std::pair{"Hxg HHHH HHHH HHHH", 4}, std::pair{"ते", 0}}) {
        for (TMixType mixType : {mtSrcErase, mtSrcPaint, mtSrcInvert, mtSrcAnd}) {
            for (int factor : {2, 4, 8}) {
                SCOPED_TRACE(testing::Message() << text << " mix " << mixType << " factor " << factor);
                TLogoParams params = Sample(Utf8ToText(text), mixType, 0);
                params.VSpace = vspace;
                TLogoLayers plain, smooth;
                TLogoComposer::Compose(params, plain);
                params.Smooth = factor;
                TLogoComposer::Compose(params, smooth);
                ASSERT_EQ(smooth.Composite.Width(), plain.Composite.Width());
                ASSERT_EQ(smooth.Composite.Height(), plain.Composite.Height());
                int edges = 0;
                for (int y = 0; y < plain.Composite.Height(); ++y) {
                    for (int x = 0; x < plain.Composite.Width(); ++x) {
                        const TColor gradient = plain.Gradient.Pixel(x, y);
                        const TColor onLetter = Mix(mixType, gradient, Letters);
                        const TColor onBackground = Mix(mixType, gradient, Background);
                        const TColor pixel = smooth.Composite.Pixel(x, y);
                        for (int shift : {0, 8, 16}) {
                            const int low = std::min(Channel(onLetter, shift), Channel(onBackground, shift));
                            const int high = std::max(Channel(onLetter, shift), Channel(onBackground, shift));
                            ASSERT_GE(Channel(pixel, shift), low) << x << "," << y;
                            ASSERT_LE(Channel(pixel, shift), high) << x << "," << y;
                        }
                        edges += pixel != onLetter && pixel != onBackground;
                        // Glyph placement drifts along a long line at a larger size,
                        // so the exact comparison is made on the single letters.
                        if (!std::strchr(text, ' ') && Uniform(plain.Text, x, y, 2)) {
                            ASSERT_EQ(pixel, plain.Composite.Pixel(x, y)) << x << "," << y;
                        }
                    }
                }
                EXPECT_GT(edges, 0);
            }
        }
    }
}

// The outline and the shadow reach across the bands the enlarged logo is made in: made
// in bands of one row of blocks, the logo is the one made in a single band.
TEST(LogoSmootherTest, EffectsMadeBandByBandEqualThoseMadeInOneBand)
{
    for (const int shadowY : {7, -7}) {
        SCOPED_TRACE(shadowY);
        TLogoParams params = Sample(u"Ag W", mtSrcInvert, 4);
        params.Effects.OutlineWidth = 3;
        params.Effects.ShadowX = -5;
        params.Effects.ShadowY = shadowY;
        TLogoLayers layers;
        TLogoComposer::Compose(params, layers);
        TBitmap banded, whole;
        TLogoSmoother::RenderComposite(params, TLogoComposer::TextOrigin(params), layers.Text, layers.Gradient, params.Smooth, banded, 1);
        TLogoSmoother::RenderComposite(params, TLogoComposer::TextOrigin(params), layers.Text, layers.Gradient, params.Smooth, whole, LLONG_MAX);
        ASSERT_EQ(banded.Height(), layers.Composite.Height());
        for (int y = 0; y < banded.Height(); ++y)
            ASSERT_TRUE(std::equal(banded.ScanLine(y), banded.ScanLine(y) + banded.Width(), whole.ScanLine(y))) << y;
    }
}

// The block average against a plain per-pixel reference, at an odd size.
TEST(LogoSmootherTest, ReduceAveragesEachBlockRounded)
{
    std::mt19937 random(7);
    for (int factor = TLogoSmoother::MinFactor; factor <= TLogoSmoother::MaxFactor; ++factor) {
        SCOPED_TRACE(factor);
        TBitmap source(47 * factor, 33 * factor), reduced(47, 33);
        for (int y = 0; y < source.Height(); ++y)
            for (int x = 0; x < source.Width(); ++x)
                source.ScanLine(y)[x] = 0xFF000000u | (random() & 0xFFFFFF);
        TLogoSmoother::Reduce(source, factor, reduced, 0);
        const int area = factor * factor;
        for (int y = 0; y < 33; ++y)
            for (int x = 0; x < 47; ++x)
                for (int shift : {0, 8, 16}) {
                    int sum = 0;
                    for (int j = 0; j < factor; ++j)
                        for (int i = 0; i < factor; ++i)
                            sum += (source.ScanLine(y * factor + j)[x * factor + i] >> shift) & 0xFF;
                    ASSERT_EQ(static_cast<int>((reduced.ScanLine(y)[x] >> shift) & 0xFF), (sum + area / 2) / area);
                }
    }
}

TEST(LogoSmootherTest, EnlargeThenReduceGivesTheSourceBack)
{
    TBitmap source(13, 7), large, back(13, 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x)
            source.ScanLine(y)[x] = 0xFF000000u | static_cast<std::uint32_t>(x * 19 + y * 4099 + 0x123456);
    TLogoSmoother::Enlarge(source, 2, 3, 5, large);
    EXPECT_EQ(large.Width(), 65);
    EXPECT_EQ(large.Height(), 15);
    TLogoSmoother::Reduce(large, 5, back, 2);
    for (int y = 2; y < 5; ++y)
        EXPECT_TRUE(std::equal(source.ScanLine(y), source.ScanLine(y) + 13, back.ScanLine(y)));
}

} // namespace
