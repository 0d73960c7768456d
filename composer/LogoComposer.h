#pragma once

#include "components/gradient/GradientFill.h"
#include "composer/LayerSteps.h"
#include "composer/LogoParams.h"
#include "platform/base/Exception.h"
#include "platform/raster/Bitmap.h"
#include "platform/raster/PngEncoder.h"
#include "platform/raster/Types.h"

// A logo too large to make ("ロゴが大きすぎます (W x H)"), refused before anything is
// allocated.
class ELogoSizeError : public Exception { using Exception::Exception; };

// A logo's size as laid out, before it is checked: the width of a long text may pass
// what an int holds.
struct TLogoExtent {
    long long Width = 0;
    long long Height = 0;

    // Each side limited to the range of an int: the size of a logo that
    // TLogoComposer::CheckLogoSize has passed is the extent itself.
    TSize Saturated() const { return TSize{SaturatedInt(Width), SaturatedInt(Height)}; }
};

// The three rasters of one logo.
struct TLogoLayers {
    TBitmap Text;
    TBitmap Gradient;
    TBitmap Composite;
    // With an outline or a shadow: the text layer with their pixels in a colour other
    // than the background, so that a transparent background leaves them opaque. Empty
    // otherwise.
    TBitmap OpaqueKey;
};

// Which layers of a logo the caller looks at after composing it.
enum TLayerUse {
    luEveryLayer,     // the text, gradient and composite layers (the window shows all three)
    luCompositeOnly,  // the composite alone (and the text layer for a transparent background)
};

// Turns logo parameters into the text layer, the gradient layer and their composite,
// all of the same size. Every call computes its result from its arguments alone.
class TLogoComposer {
public:
    static constexpr int MaxSide = TLayerSteps::MaxSide;
    static constexpr long long MaxPixels = 64LL * 1024 * 1024;

    // Text extent (with the letter spacing) plus twice the margins plus what the outline
    // and the shadow add on each side, plus the rows by which ink reaching past the
    // text's cell (marks above, tails below) passes the margins; either side may be zero
    // or negative.
    static TLogoExtent LogoExtent(const TLogoParams& params);
    // The extent limited to ints, for a logo known to pass CheckLogoSize.
    static TSize LogoSize(const TLogoParams& params) { return LogoExtent(params).Saturated(); }
    // Where the top-left of the text's cell lies in the layers: the margins plus the
    // outline's and the shadow's growth on the left and the top, and lower by the rows
    // ink above the cell adds. The effects' letter mask and the smooth edges' enlarged
    // text are drawn there too (times the factor), so that every layer agrees.
    static TPoint TextOrigin(const TLogoParams& params);
    // Throws ELogoSizeError, naming the extent, for a logo wider or higher than MaxSide or
    // larger than MaxPixels.
    static void CheckLogoSize(const TLogoExtent& extent);

    // Each renders into the given bitmap, resizing it; a size of zero or less gives an
    // empty bitmap. The text layer's rendering returns its TextOrigin, which the
    // effects and the smooth edges draw at too.
    static TPoint RenderTextLayer(const TLogoParams& params, TBitmap& layer);
    static void RenderGradientLayer(const TLogoParams& params, int width, int height, TBitmap& layer);
    // All three: the text layer, the gradient layer of its size, and their mix, with
    // smooth edges when the parameters ask for them. With luCompositeOnly the gradient
    // may be drawn in the composite's own memory and mixed there, which spares a whole
    // layer of memory; the gradient layer is then left as it was.
    static void Compose(const TLogoParams& params, TLogoLayers& layers, TLayerUse use = luEveryLayer);

    // A logo with a transparent background: the pixels where the text layer shows
    // the background colour, and that are not outline or shadow, are transparent in
    // every layer of that logo.
    static TPngTransparency TransparentBackground(const TLogoParams& params, const TLogoLayers& layers);

    static TGradStyle GradStyleOf(TGraType graType);
    // The type a cell or a stored number names; a number outside 1..4 gives otherwise.
    static TGraType GraTypeOf(int number, TGraType otherwise);
    static TMixType MixTypeOf(int number, TMixType otherwise);
};
