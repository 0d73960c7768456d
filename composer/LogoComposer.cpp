#include "composer/LogoComposer.h"

#include "composer/LogoEffects.h"
#include "composer/LogoSmoother.h"

#include "platform/base/Exception.h"
#include "platform/base/UiLanguage.h"
#include "platform/base/UnicodeText.h"
#include "platform/raster/Canvas.h"
#include "platform/raster/FontFace.h"

#include <algorithm>

namespace {

bool TooLarge(const TLogoExtent& extent)
{
    // Either side at most MaxSide, so the product cannot overflow.
    return extent.Width > TLogoComposer::MaxSide || extent.Height > TLogoComposer::MaxSide
        || (extent.Width > 0 && extent.Height > 0 && extent.Width * extent.Height > TLogoComposer::MaxPixels);
}

// A logo's extent, and where the top-left of its text's cell lies in it.
struct TLayout {
    TLogoExtent Extent;
    TPoint Origin;
};

// The ink of marks above and tails below may reach past the text's cell, which is the
// chosen face's ascent and descent: Devanagari vowel signs, Thai marks and Arabic tails
// from fallback faces, or marks stacked in the chosen face. The logo grows by what the
// margin does not hold and the text moves down by the growth above, so that no ink is
// cut. The ink is measured on the glyphs' bitmaps; a logo that is empty or too large
// before it grows is never drawn, and its glyphs are not drawn only to measure them.
TLayout LayoutOf(const TLogoParams& params)
{
    const auto face = TFontFace::For(params.Font);
    const TEffectGrowth growth = TLogoEffects::Growth(params.Effects);
    TLayout layout;
    layout.Extent.Width = face->TextWidth(params.Text, params.Effects.Spacing) + 2LL * params.HSpace + growth.Left + growth.Right;
    layout.Extent.Height = face->Height() + 2LL * params.VSpace + growth.Top + growth.Bottom;
    // A margin typed in the window may be as large as an int holds.
    layout.Origin = TPoint{SaturatedInt(params.HSpace + static_cast<long long>(growth.Left)),
                           SaturatedInt(params.VSpace + static_cast<long long>(growth.Top))};
    if (layout.Extent.Width <= 0 || TooLarge(layout.Extent))
        return layout;
    const TFontFace::TInkReach reach = face->InkReach(params.Text);
    const int margin = std::max(params.VSpace, 0);
    const int above = std::max(reach.Above - margin, 0);
    layout.Extent.Height += above + std::max(reach.Below - margin, 0);
    layout.Origin.Y += above;
    return layout;
}

} // namespace

TLogoExtent TLogoComposer::LogoExtent(const TLogoParams& params)
{
    return LayoutOf(params).Extent;
}

TPoint TLogoComposer::TextOrigin(const TLogoParams& params)
{
    return LayoutOf(params).Origin;
}

void TLogoComposer::CheckLogoSize(const TLogoExtent& extent)
{
    if (TooLarge(extent))
        throw ELogoSizeError(Format(TrText("ロゴが大きすぎます (%1 x %2)"), {IntText(extent.Width), IntText(extent.Height)}));
}

TPoint TLogoComposer::RenderTextLayer(const TLogoParams& params, TBitmap& layer)
{
    const TLayout layout = LayoutOf(params);
    CheckLogoSize(layout.Extent);
    const TSize size = layout.Extent.Saturated();
    // The background fill covers every pixel: the surface need not be cleared first.
    layer.Reshape(size.Width, size.Height);
    if (!layer.Empty())
        TLayerSteps::DrawTextLayer(params, layer.Canvas(), size, layout.Origin);
    return layout.Origin;
}

void TLogoComposer::RenderGradientLayer(const TLogoParams& params, int width, int height, TBitmap& layer)
{
    CheckLogoSize(TLogoExtent{width, height});
    // The stripes cover every pixel.
    layer.Reshape(width, height);
    if (layer.Empty())
        return;
    TGradientFill::PaintGradient(layer.Canvas(), width, height, params.TopColor, params.LastColor, GradStyleOf(params.GraType));
}

void TLogoComposer::Compose(const TLogoParams& params, TLogoLayers& layers, TLayerUse use)
{
    const TPoint origin = RenderTextLayer(params, layers.Text);
    const bool smooth = params.Smooth != 0;
    if (smooth) {
        RenderGradientLayer(params, layers.Text.Width(), layers.Text.Height(), layers.Gradient);
        TLogoSmoother::RenderComposite(params, origin, layers.Text, layers.Gradient, params.Smooth, layers.Composite);
    } else if (use == luCompositeOnly) {
        // The mix works pixel by pixel, so it may write over the gradient it reads.
        RenderGradientLayer(params, layers.Text.Width(), layers.Text.Height(), layers.Composite);
        TLayerSteps::MixLayers(layers.Text, layers.Composite, params.MixType, layers.Composite);
    } else {
        RenderGradientLayer(params, layers.Text.Width(), layers.Text.Height(), layers.Gradient);
        TLayerSteps::MixLayers(layers.Text, layers.Gradient, params.MixType, layers.Composite);
    }
    if (!params.Effects.HasStage()) {
        layers.OpaqueKey.SetSize(0, 0);
        return;
    }
    // Smooth edges drew the stage at their factor already; the key is made at the logo's size.
    TLogoEffects::Apply(params, origin, layers.Text, smooth ? nullptr : &layers.Composite, layers.OpaqueKey);
}

TPngTransparency TLogoComposer::TransparentBackground(const TLogoParams& params, const TLogoLayers& layers)
{
    const bool keyed = params.Effects.HasStage() && !layers.OpaqueKey.Empty();
    return TPngTransparency{ColorToPixel(params.BgColor), keyed ? &layers.OpaqueKey : &layers.Text};
}

TGradStyle TLogoComposer::GradStyleOf(TGraType graType)
{
    switch (graType) {
    case gtLeftRight: return gsLeftRight;
    case gtBottomTop: return gsBottomTop;
    case gtRightLeft: return gsRightLeft;
    case gtTopBottom: break;
    }
    return gsTopBottom;
}

TGraType TLogoComposer::GraTypeOf(int number, TGraType otherwise)
{
    return number >= gtTopBottom && number <= gtRightLeft ? static_cast<TGraType>(number) : otherwise;
}

TMixType TLogoComposer::MixTypeOf(int number, TMixType otherwise)
{
    return number >= mtSrcErase && number <= mtSrcAnd ? static_cast<TMixType>(number) : otherwise;
}
