#include "composer/LogoComposer.h"

#include "composer/LogoEffects.h"
#include "composer/LogoSmoother.h"

#include "platform/raster/Exception.h"
#include "platform/raster/FontFace.h"

#include <algorithm>

TLogoParams TLogoParams::Defaults()
{
    TLogoParams params;
    params.Text = DefaultText;
    params.Font.SetName(QStringLiteral("Times New Roman"));
    params.Font.SetHeight(-29);
    params.Font.SetStyle(fsBold);
    params.Font.SetColor(clBlack);
    return params;
}

TLogoExtent TLogoComposer::LogoExtent(const TLogoParams& params)
{
    const auto face = TFontFace::For(params.Font);
    const TEffectGrowth growth = TLogoEffects::Growth(params.Effects);
    const long long width = face->TextWidth(params.Text, params.Effects.Spacing) + 2LL * params.HSpace + growth.Left + growth.Right;
    const long long height = static_cast<long long>(face->Height()) + 2LL * params.VSpace + growth.Top + growth.Bottom;
    return TLogoExtent{width, height};
}

TPoint TLogoComposer::TextOrigin(const TLogoParams& params)
{
    const TEffectGrowth growth = TLogoEffects::Growth(params.Effects);
    return TPoint{params.HSpace + growth.Left, params.VSpace + growth.Top};
}

void TLogoComposer::CheckLogoSize(const TLogoExtent& extent)
{
    // Either side at most MaxSide, so the product cannot overflow.
    const bool tooLarge = extent.Width > MaxSide || extent.Height > MaxSide
        || (extent.Width > 0 && extent.Height > 0 && extent.Width * extent.Height > MaxPixels);
    if (tooLarge)
        throw ELogoSizeError(QString::fromUtf8("ロゴが大きすぎます (%1 x %2)").arg(extent.Width).arg(extent.Height));
}

void TLogoComposer::RenderTextLayer(const TLogoParams& params, TBitmap& layer)
{
    const TLogoExtent extent = LogoExtent(params);
    CheckLogoSize(extent);
    const TSize size = extent.Saturated();
    // The background fill covers every pixel: the surface need not be cleared first.
    layer.Reshape(size.Width, size.Height);
    if (layer.Empty())
        return;
    DrawTextLayer(params, layer.Canvas(), size);
}

void TLogoComposer::DrawTextLayer(const TLogoParams& params, TCanvas& canvas, TSize size)
{
    canvas.Font() = params.Font;
    canvas.Brush().SetColor(params.BgColor);
    canvas.FillRect(Rect(0, 0, size.Width, size.Height));
    // The text cell's opaque background is the colour just filled: drawing it again
    // would change no pixel, so the glyphs go on with a clear brush.
    canvas.Brush().SetStyle(bsClear);
    canvas.SetTextCharacterExtra(params.Effects.Spacing);
    const TPoint origin = TextOrigin(params);
    canvas.TextOut(origin.X, origin.Y, params.Text);
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

void TLogoComposer::MixLayers(const TBitmap& text, const TBitmap& gradient, TMixType mixType, TBitmap& composite)
{
    composite.Reshape(text.Width(), text.Height());
    if (composite.Empty())
        return;
    // The text layer copied plainly, then the gradient over it in the mix operation,
    // done in one pass.
    TCanvas::CombineSurfaces(composite, text, gradient, MixOperationOf(mixType));
}

void TLogoComposer::Compose(const TLogoParams& params, TLogoLayers& layers, TLayerUse use)
{
    RenderTextLayer(params, layers.Text);
    const bool smooth = params.Smooth != 0;
    if (smooth) {
        RenderGradientLayer(params, layers.Text.Width(), layers.Text.Height(), layers.Gradient);
        TLogoSmoother::RenderComposite(params, layers.Text, layers.Gradient, params.Smooth, layers.Composite);
    } else if (use == luCompositeOnly) {
        // The mix works pixel by pixel, so it may write over the gradient it reads.
        RenderGradientLayer(params, layers.Text.Width(), layers.Text.Height(), layers.Composite);
        MixLayers(layers.Text, layers.Composite, params.MixType, layers.Composite);
    } else {
        RenderGradientLayer(params, layers.Text.Width(), layers.Text.Height(), layers.Gradient);
        MixLayers(layers.Text, layers.Gradient, params.MixType, layers.Composite);
    }
    if (!params.Effects.HasStage()) {
        layers.OpaqueKey.SetSize(0, 0);
        return;
    }
    // Smooth edges drew the stage at their factor already; the key is made at the logo's size.
    TLogoEffects::Apply(params, layers.Text, smooth ? nullptr : &layers.Composite, layers.OpaqueKey);
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

TCopyMode TLogoComposer::MixOperationOf(TMixType mixType)
{
    switch (mixType) {
    case mtSrcPaint: return cmSrcPaint;
    case mtSrcInvert: return cmSrcInvert;
    case mtSrcAnd: return cmSrcAnd;
    case mtSrcErase: break;
    }
    return cmSrcErase;
}

TGraType TLogoComposer::GraTypeOf(int number, TGraType otherwise)
{
    return number >= gtTopBottom && number <= gtRightLeft ? static_cast<TGraType>(number) : otherwise;
}

TMixType TLogoComposer::MixTypeOf(int number, TMixType otherwise)
{
    return number >= mtSrcErase && number <= mtSrcAnd ? static_cast<TMixType>(number) : otherwise;
}
