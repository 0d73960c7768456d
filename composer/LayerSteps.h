#pragma once

#include "composer/LogoParams.h"
#include "platform/raster/Canvas.h"
#include "platform/raster/Types.h"

class TBitmap;

// The steps every layer of a logo is made with, whether plain, in bands, enlarged for
// smooth edges or as the effects' letter mask: the composer, the smooth edges and the
// effects all call these.
class TLayerSteps {
public:
    // The longest side of any layer, an enlarged one included.
    static constexpr int MaxSide = TLogoParams::MaxFontHeight;

    // The text layer drawn on a canvas of the given size with the top-left of the text's
    // cell at origin: the whole layer at the composer's TextOrigin, or a band of it, or
    // the layer enlarged.
    static void DrawTextLayer(const TLogoParams& params, TCanvas& canvas, TSize size, TPoint origin);
    // composite may be the gradient bitmap itself, or the text bitmap.
    static void MixLayers(const TBitmap& text, const TBitmap& gradient, TMixType mixType, TBitmap& composite);
    static TCopyMode MixOperationOf(TMixType mixType);
};
