#include "composer/LogoComposer.h"

#include "composer/LogoEffects.h"
#include "composer/LogoSmoother.h"

#include "platform/raster/Exception.h"
#include "platform/raster/FontFace.h"

#include <algorithm>
#include <climits>

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

namespace {

int Saturate(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

} // namespace

TSize TLogoComposer::LogoSize(const TLogoParams& params)
{
    const auto face = TFontFace::For(params.Font);
    const TEffectGrowth growth = TLogoEffects::Growth(params.Effects);
    const long long width = static_cast<long long>(face->TextWidth(params.Text, params.Effects.Spacing))
        + 2LL * params.HSpace + growth.Left + growth.Right;
    const long long height = static_cast<long long>(face->Height()) + 2LL * params.VSpace + growth.Top + growth.Bottom;
    return TSize{Saturate(width), Saturate(height)};
}

TPoint TLogoComposer::TextOrigin(const TLogoParams& params)
{
    const TEffectGrowth growth = TLogoEffects::Growth(params.Effects);
    return TPoint{params.HSpace + growth.Left, params.VSpace + growth.Top};
}

void TLogoComposer::CheckLogoSize(TSize size)
{
    const bool tooLarge = size.Width > MaxSide || size.Height > MaxSide
        || (size.Width > 0 && size.Height > 0 && static_cast<long long>(size.Width) * size.Height > MaxPixels);
    if (tooLarge)
        throw ELogoSizeError(QString::fromUtf8("ロゴが大きすぎます (%1 x %2)").arg(size.Width).arg(size.Height));
}

void TLogoComposer::RenderTextLayer(const TLogoParams& params, TBitmap& layer)
{
    const TSize size = LogoSize(params);
    CheckLogoSize(size);
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
    CheckLogoSize(TSize{width, height});
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
