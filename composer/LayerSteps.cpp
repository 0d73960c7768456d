#include "composer/LayerSteps.h"

#include "platform/raster/Bitmap.h"

void TLayerSteps::DrawTextLayer(const TLogoParams& params, TCanvas& canvas, TSize size, TPoint origin)
{
    canvas.Font() = params.Font;
    canvas.Brush().SetColor(params.BgColor);
    canvas.FillRect(Rect(0, 0, size.Width, size.Height));
    // The text cell's opaque background is the colour just filled: drawing it again
    // would change no pixel, so the glyphs go on with a clear brush.
    canvas.Brush().SetStyle(bsClear);
    canvas.SetTextCharacterExtra(params.Effects.Spacing);
    canvas.TextOut(origin.X, origin.Y, params.Text);
}

void TLayerSteps::MixLayers(const TBitmap& text, const TBitmap& gradient, TMixType mixType, TBitmap& composite)
{
    composite.Reshape(text.Width(), text.Height());
    if (composite.Empty())
        return;
    // The text layer copied plainly, then the gradient over it in the mix operation,
    // done in one pass.
    TCanvas::CombineSurfaces(composite, text, gradient, MixOperationOf(mixType));
}

TCopyMode TLayerSteps::MixOperationOf(TMixType mixType)
{
    switch (mixType) {
    case mtSrcPaint: return cmSrcPaint;
    case mtSrcInvert: return cmSrcInvert;
    case mtSrcAnd: return cmSrcAnd;
    case mtSrcErase: break;
    }
    return cmSrcErase;
}
