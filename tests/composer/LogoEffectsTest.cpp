#include "composer/EffectMarker.h"
#include "composer/LogoComposer.h"
#include "composer/LogoEffects.h"

#include "platform/base/UnicodeText.h"
#include "platform/raster/FontFace.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "LeftRightLogo.h"

namespace {

constexpr TColor Background = clWhite;
constexpr TColor OutlineColor = 0x000000FF;
constexpr TColor ShadowColor = 0x00406080;

TLogoParams Sample(std::u16string_view text, TMixType mixType)
{
    TLogoParams params = LeftRightLogo(text, Background, 0x0000A0F0, 0x00F01040, mixType);
    params.HSpace = 3;
    params.VSpace = 2;
    params.Effects.OutlineColor = OutlineColor;
    params.Effects.ShadowColor = ShadowColor;
    return params;
}

// What the test expects of a logo with effects, worked out from the plain text layer
// alone: its letter pixels (where it shows the text colour, which differs from the
// background) placed where the grown logo puts them, the outline's square around them,
// and that area moved by the shadow's offset.
class TModel {
public:
    enum TKind { kdNone, kdShadow, kdOutline, kdLetter };

    explicit TModel(const TLogoParams& params)
    {
        TLogoParams plain = params;
        plain.Effects = TTextEffects{};
        plain.Effects.Spacing = params.Effects.Spacing;
        TBitmap text;
        TLogoComposer::RenderTextLayer(plain, text);
        const int w = params.Effects.OutlineWidth;
        const int dx = params.Effects.ShadowX;
        const int dy = params.Effects.ShadowY;
        const int left = w + std::max(-dx, 0);
        const int top = w + std::max(-dy, 0);
        Width = text.Width() + 2 * w + std::abs(dx);
        Height = text.Height() + 2 * w + std::abs(dy);
        std::vector<bool> letter(static_cast<std::size_t>(Width) * Height, false);
        for (int y = 0; y < text.Height(); ++y)
            for (int x = 0; x < text.Width(); ++x)
                letter[Index(x + left, y + top)] = text.Pixel(x, y) == params.Font.Color();
        const auto letterAt = [&](int x, int y) { return x >= 0 && y >= 0 && x < Width && y < Height && letter[Index(x, y)]; };
        const auto area = [&](int x, int y) {
            for (int j = -w; j <= w; ++j)
                for (int i = -w; i <= w; ++i)
                    if (letterAt(x + i, y + j))
                        return true;
            return false;
        };
        Kinds.resize(letter.size(), kdNone);
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) {
                TKind& kind = Kinds[Index(x, y)];
                if (letterAt(x, y))
                    kind = kdLetter;
                else if (area(x, y))
                    kind = kdOutline;
                else if (area(x - dx, y - dy))
                    kind = kdShadow;
            }
    }

    TKind At(int x, int y) const { return Kinds[Index(x, y)]; }
    int Count(TKind kind) const { return static_cast<int>(std::count(Kinds.begin(), Kinds.end(), kind)); }

    int Width = 0;
    int Height = 0;

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * Width + x; }
    std::vector<TKind> Kinds;
};

struct TEffectCase {
    int Outline;
    int ShadowX;
    int ShadowY;
    int Spacing;
    TMixType Mix;
    TFontStyles Style;
    const char* Text = "Ag";
};

std::string Describe(const TEffectCase& c)
{
    return std::string(c.Text) + ": outline " + std::to_string(c.Outline) + ", shadow " + std::to_string(c.ShadowX) + ","
        + std::to_string(c.ShadowY) + ", spacing " + std::to_string(c.Spacing) + ", mix " + std::to_string(c.Mix);
}

TLogoParams ParamsOf(const TEffectCase& c)
{
    TLogoParams params = Sample(Utf8ToText(c.Text), c.Mix);
    params.Font.SetStyle(c.Style);
    params.Effects.OutlineWidth = c.Outline;
    params.Effects.ShadowX = c.ShadowX;
    params.Effects.ShadowY = c.ShadowY;
    params.Effects.Spacing = c.Spacing;
    return params;
}

const TEffectCase EffectCases[] = {
    {2, 0, 0, 0, mtSrcErase, fsBold},
    {0, 3, 3, 0, mtSrcPaint, fsBold},
    {2, -3, 4, 0, mtSrcInvert, fsBold | fsUnderline},
    {1, 5, -2, 3, mtSrcAnd, 0},
    {3, 0, -4, -2, mtSrcPaint, fsItalic},
    // Marks above and a tail below the cell grow the logo: the letter mask lies where the
    // text layer has the letters.
    {2, 3, -3, 0, mtSrcErase, fsBold, "तेज़ ดี ج"},
};

// Composes the logo and mixes its layers without effects, for comparison; false (with
// a failure) when the logo's size is not the model's.
bool ComposeAsModelled(const TLogoParams& params, const TModel& model, TLogoLayers& layers, TBitmap& mixed)
{
    TLogoComposer::Compose(params, layers);
    EXPECT_EQ(layers.Composite.Width(), model.Width);
    EXPECT_EQ(layers.Composite.Height(), model.Height);
    TLayerSteps::MixLayers(layers.Text, layers.Gradient, params.MixType, mixed);
    return layers.Composite.Width() == model.Width && layers.Composite.Height() == model.Height;
}

TEST(LogoEffectsTest, OutlineAndShadowFollowTheDilatedAndShiftedLetters)
{
    for (const TEffectCase& c : EffectCases) {
        SCOPED_TRACE(Describe(c));
        const TLogoParams params = ParamsOf(c);
        const TModel model(params);
        TLogoLayers layers;
        TBitmap mixed;
        ASSERT_TRUE(ComposeAsModelled(params, model, layers, mixed));
        int wrong = 0;
        for (int y = 0; y < model.Height; ++y)
            for (int x = 0; x < model.Width; ++x) {
                TColor expected = mixed.Pixel(x, y);
                if (model.At(x, y) == TModel::kdOutline)
                    expected = OutlineColor;
                else if (model.At(x, y) == TModel::kdShadow)
                    expected = ShadowColor;
                if (layers.Composite.Pixel(x, y) != expected && ++wrong <= 3)
                    ADD_FAILURE() << "pixel " << x << "," << y << " kind " << model.At(x, y);
            }
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(model.Count(TModel::kdOutline) > 0, c.Outline > 0);
        EXPECT_EQ(model.Count(TModel::kdShadow) > 0, c.ShadowX != 0 || c.ShadowY != 0);
    }
}

// The letter mask is drawn a band of rows at a time, and the outline and the shadow
// reach into the bands before and after it: down to bands of one row, the marks are
// the model's.
TEST(LogoEffectsTest, MarksAreTheModelsWhateverTheHeightOfTheMasksBands)
{
    for (const TEffectCase& c : EffectCases) {
        const TLogoParams params = ParamsOf(c);
        const TModel model(params);
        for (const int bandRows : {1, 2, 5}) {
            SCOPED_TRACE(Describe(c) + ", bands of " + std::to_string(bandRows));
            TEffectMarker marker(params, TLogoComposer::TextOrigin(params), model.Width, model.Height, bandRows);
            for (int y = 0; y < model.Height; ++y) {
                const std::uint8_t* marks = marker.NextRow();
                for (int x = 0; x < model.Width; ++x)
                    ASSERT_EQ(marks[x], model.At(x, y)) << x << "," << y;
            }
        }
    }
}

// The letters are the pixels the text drawing sets, whatever their colour: text in the
// background's colour still gets its outline and shadow.
TEST(LogoEffectsTest, TextInTheBackgroundColourStillHasItsOutlineAndShadow)
{
    TLogoParams params = ParamsOf({2, 3, 3, 0, mtSrcPaint, fsBold});
    const TModel model(params);
    params.Font.SetColor(Background);
    TLogoLayers layers;
    TLogoComposer::Compose(params, layers);
    ASSERT_EQ(layers.Composite.Width(), model.Width);
    for (int y = 0; y < model.Height; ++y)
        for (int x = 0; x < model.Width; ++x) {
            if (model.At(x, y) == TModel::kdOutline) {
                ASSERT_EQ(layers.Composite.Pixel(x, y), OutlineColor) << x << "," << y;
            } else if (model.At(x, y) == TModel::kdShadow) {
                ASSERT_EQ(layers.Composite.Pixel(x, y), ShadowColor) << x << "," << y;
            }
        }
}

TEST(LogoEffectsTest, SizesGrowWithEachEffectAndWithAllThree)
{
    const TLogoParams plain = Sample(u"Vezodev", mtSrcErase);
    const TSize base = TLogoComposer::LogoSize(plain);
    struct TCase {
        int Spacing, Outline, ShadowX, ShadowY;
        int Wider, Higher;
    };
    for (const TCase& c : {TCase{5, 0, 0, 0, 35, 0}, TCase{-3, 0, 0, 0, -21, 0}, TCase{0, 3, 0, 0, 6, 6},
                           TCase{0, 0, -4, 2, 4, 2}, TCase{0, 0, 7, 0, 7, 0}, TCase{5, 3, -4, 2, 35 + 6 + 4, 6 + 2}}) {
        SCOPED_TRACE(std::to_string(c.Spacing) + " " + std::to_string(c.Outline) + " " + std::to_string(c.ShadowX) + ","
                     + std::to_string(c.ShadowY));
        TLogoParams params = plain;
        params.Effects.Spacing = c.Spacing;
        params.Effects.OutlineWidth = c.Outline;
        params.Effects.ShadowX = c.ShadowX;
        params.Effects.ShadowY = c.ShadowY;
        const TSize expected{base.Width + c.Wider, base.Height + c.Higher};
        EXPECT_EQ(TLogoComposer::LogoSize(params), expected);
        TLogoLayers layers;
        TLogoComposer::Compose(params, layers);
        EXPECT_EQ(layers.Composite.Width(), expected.Width);
        EXPECT_EQ(layers.Composite.Height(), expected.Height);
    }
}

// The extra pixels come after each character's advance: the second "I" of "II" is the
// first moved by one advance plus the spacing.
TEST(LogoEffectsTest, LetterSpacingMovesEachFollowingCharacter)
{
    TLogoParams single = Sample(u"I", mtSrcErase);
    single.HSpace = 0;
    TBitmap one;
    TLogoComposer::RenderTextLayer(single, one);
    const int advance = TFontFace::For(single.Font)->TextWidth(u"I");
    for (int spacing : {7, -2, 0}) {
        SCOPED_TRACE(spacing);
        TLogoParams params = single;
        params.Text = u"II";
        params.Effects.Spacing = spacing;
        TBitmap two;
        TLogoComposer::RenderTextLayer(params, two);
        ASSERT_EQ(two.Width(), 2 * (advance + spacing));
        for (int y = 0; y < two.Height(); ++y)
            for (int x = 0; x < two.Width(); ++x) {
                const auto letterOfOne = [&](int at) { return at >= 0 && at < one.Width() && one.Pixel(at, y) != Background; };
                const bool expected = letterOfOne(x) || letterOfOne(x - advance - spacing);
                ASSERT_EQ(two.Pixel(x, y) != Background, expected) << x << "," << y;
            }
    }
}

TEST(LogoEffectsTest, OutlineAndShadowStayOpaqueOnATransparentBackground)
{
    const TLogoParams params = ParamsOf({2, 3, 3, 0, mtSrcPaint, fsBold});
    const TModel model(params);
    TLogoLayers layers;
    TLogoComposer::Compose(params, layers);
    const std::string png = EncodePng(layers.Composite, TLogoComposer::TransparentBackground(params, layers));
    const QImage decoded = QImage::fromData(QByteArray(png.data(), static_cast<qsizetype>(png.size())), "PNG");
    ASSERT_EQ(decoded.width(), model.Width);
    for (int y = 0; y < model.Height; ++y)
        for (int x = 0; x < model.Width; ++x)
            ASSERT_EQ(qAlpha(decoded.pixel(x, y)), model.At(x, y) == TModel::kdNone ? 0 : 255) << x << "," << y;
}

// With smooth edges the effects are drawn at the factor: the logo keeps its size, both
// colours show in full inside their areas, and far from them the logo is the plain mix.
TEST(LogoEffectsTest, SmoothEdgesDrawTheEffectsAtTheFactor)
{
    TLogoParams params = ParamsOf({3, 4, 4, 2, mtSrcPaint, fsBold});
    const TModel model(params);
    params.Smooth = 4;
    TLogoLayers layers;
    TBitmap mixed;
    ASSERT_TRUE(ComposeAsModelled(params, model, layers, mixed));
    int outline = 0, shadow = 0;
    for (int y = 0; y < model.Height; ++y)
        for (int x = 0; x < model.Width; ++x) {
            outline += layers.Composite.Pixel(x, y) == OutlineColor;
            shadow += layers.Composite.Pixel(x, y) == ShadowColor;
            bool clear = true;
            for (int j = -1; j <= 1; ++j)
                for (int i = -1; i <= 1; ++i)
                    clear = clear && (x + i < 0 || y + j < 0 || x + i >= model.Width || y + j >= model.Height
                                      || model.At(x + i, y + j) == TModel::kdNone);
            if (clear) {
                ASSERT_EQ(layers.Composite.Pixel(x, y), mixed.Pixel(x, y)) << x << "," << y;
            }
        }
    EXPECT_GT(outline, model.Count(TModel::kdOutline) / 3);
    EXPECT_GT(shadow, model.Count(TModel::kdShadow) / 3);
}

} // namespace
