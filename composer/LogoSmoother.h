#pragma once

#include "composer/LogoParams.h"
#include "platform/raster/Types.h"

class TBitmap;

// Smooth letter edges for every mix by supersampling. With the plain logo's size
// W x H and a factor N: the text layer is drawn with N times the font height, its cell
// at N times the plain layer's text origin, on a surface of exactly N*W x N*H (text
// that comes out wider or narrower than N times the plain text is clipped or padded on
// the right; likewise ink that reaches further above or below the cell than N times the
// plain ink is clipped at the top or the bottom), the plain gradient
// layer is enlarged by repeating each pixel N x N times, the mix is applied at that
// size and each N x N block is averaged back into one pixel. Where a block is all
// letter or all background the result is exactly the plain logo's colour. Letter
// spacing, outline and shadow are drawn at the factor too, their lengths times N.
class TLogoSmoother {
public:
    static constexpr int MinFactor = 2;
    static constexpr int MaxFactor = 8;
    static constexpr int DefaultFactor = 4;

    // The enlarged surfaces are made a band of rows at a time, so that a large logo at
    // a high factor needs no more than this many pixels per surface.
    static constexpr long long BandPixels = 4LL * 1024 * 1024;

    static bool ValidFactor(int factor) { return factor >= MinFactor && factor <= MaxFactor; }

    // The smooth composite of the plain layers' size, the text's cell at origin (the
    // composer's TextOrigin). A factor that would make the
    // enlarged surface wider or higher than the composer's largest side is lowered
    // until it fits; below MinFactor the plain composite is made. A band holds at most
    // bandPixels enlarged pixels, and at least one row of blocks.
    static void RenderComposite(const TLogoParams& params, TPoint origin, const TBitmap& text, const TBitmap& gradient,
                                int factor, TBitmap& composite, long long bandPixels = BandPixels);

    // dest := rows [firstRow, firstRow + rows) of source, each pixel repeated
    // factor x factor times.
    static void Enlarge(const TBitmap& source, int firstRow, int rows, int factor, TBitmap& dest);
    // Each factor x factor block of source averaged per channel (rounded) into the
    // pixels of dest from row destRow on. The source's sides are multiples of factor
    // and its width is factor times dest's.
    static void Reduce(const TBitmap& source, int factor, TBitmap& dest, int destRow);
};
