#pragma once

#include "components/GradientFill.h"
#include "platform/raster/Bitmap.h"
#include "platform/raster/Canvas.h"
#include "platform/raster/Color.h"
#include "platform/raster/Exception.h"
#include "platform/raster/Font.h"
#include "platform/raster/PngEncoder.h"
#include "platform/raster/Types.h"

#include <QString>

// A logo too large to make ("ロゴが大きすぎます (W x H)"), refused before anything is
// allocated.
class ELogoSizeError : public Exception { using Exception::Exception; };

// The parameters of one logo.
struct TLogoParams {
    QString Text;
    TFont Font;
    TColor BgColor = clGray;
    TColor TopColor = 0x00008000;
    TColor LastColor = 0x0000FF00;
    int GraType = 1; // 1 top to bottom, 2 left to right, 3 bottom to top, 4 right to left
    int MixType = 1; // 1 A SRCERASE, 2 B SRCPAINT, 3 C SRCINVERT, 4 D SRCAND
    int HSpace = 0;
    int VSpace = 0;
    int Smooth = 0; // 0 plain edges; otherwise the supersampling factor of TLogoSmoother

    // The window's design values: Times New Roman bold, 29 pixels, black.
    static TLogoParams Defaults();
};

// The three rasters of one logo.
struct TLogoLayers {
    TBitmap Text;
    TBitmap Gradient;
    TBitmap Composite;
};

// Turns logo parameters into the text layer, the gradient layer and their composite,
// all of the same size. Every call computes its result from its arguments alone.
class TLogoComposer {
public:
    static constexpr int MaxSide = 32767;
    static constexpr long long MaxPixels = 64LL * 1024 * 1024;

    // Text extent plus twice the margins; either side may be zero or negative.
    static TSize LogoSize(const TLogoParams& params);
    // Throws ELogoSizeError for a logo wider or higher than MaxSide or larger than MaxPixels.
    static void CheckLogoSize(TSize size);

    // Each renders into the given bitmap, resizing it; a size of zero or less gives an
    // empty bitmap.
    static void RenderTextLayer(const TLogoParams& params, TBitmap& layer);
    // The text layer drawn on a canvas of the logo's size (the preview pane's).
    static void DrawTextLayer(const TLogoParams& params, TCanvas& canvas, TSize size);
    static void RenderGradientLayer(const TLogoParams& params, int width, int height, TBitmap& layer);
    static void MixLayers(const TBitmap& text, const TBitmap& gradient, int mixType, TBitmap& composite);
    // All three: the text layer, the gradient layer of its size, and their mix, with
    // smooth edges when the parameters ask for them.
    static void Compose(const TLogoParams& params, TLogoLayers& layers);

    // A logo with a transparent background: the pixels where the text layer shows
    // the background colour are transparent in every layer of that logo.
    static TPngTransparency TransparentBackground(const TLogoParams& params, const TBitmap& text);

    static TGradStyle GradStyleOf(int graType);
    static TCopyMode MixOperationOf(int mixType);
};
