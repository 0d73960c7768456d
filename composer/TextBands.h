#pragma once

#include "composer/LogoParams.h"
#include "platform/raster/Bitmap.h"
#include "platform/raster/Types.h"

#include <climits>
#include <cstdint>

// A text layer read row after row from the top, drawn a band of rows at a time so that
// a large layer never needs a surface of its whole height. The smooth edges read the
// enlarged text this way and the effects their letter mask.
class TTextBands {
public:
    // The layer of params, width pixels wide, with the top-left of its text's cell at
    // origin; rows firstRow up to endRow are read (they may lie outside the logo), in
    // bands of bandRows rows (at least one, at most all of them).
    TTextBands(const TLogoParams& params, TPoint origin, int width, int firstRow, int endRow, int bandRows);

    // The pixels of row y, width of them, good until the next call. y is not above the
    // row asked for before; a row past the drawn band starts the next band there.
    const std::uint32_t* Row(int y);

    // The rows of a band that holds about bandPixels pixels of rowPixels a row: at least
    // one row and at most maxRows.
    static int BandRows(long long bandPixels, long long rowPixels, int maxRows = INT_MAX);

private:
    void DrawBand(int top);

    TLogoParams FParams;
    TPoint FOrigin;
    int FWidth = 0;
    int FEndRow = 0;
    int FBandRows = 1;
    TBitmap FBand;   // the current band
    int FBandTop = 0; // the layer row of its first row
};
