#include "composer/TextBands.h"

#include "composer/LayerSteps.h"

#include <algorithm>

TTextBands::TTextBands(const TLogoParams& params, TPoint origin, int width, int firstRow, int endRow, int bandRows)
    : FParams(params),
      FOrigin(origin),
      FWidth(std::max(width, 0)),
      FEndRow(endRow),
      FBandRows(std::clamp(bandRows, 1, std::max(endRow - firstRow, 1))),
      FBandTop(firstRow)
{
}

int TTextBands::BandRows(long long bandPixels, long long rowPixels, int maxRows)
{
    return static_cast<int>(std::clamp<long long>(bandPixels / std::max(rowPixels, 1LL), 1, std::max(maxRows, 1)));
}

void TTextBands::DrawBand(int top)
{
    // The last band ends with the last row read.
    const int rows = std::clamp(FEndRow - top, 1, FBandRows);
    FBandTop = top;
    FBand.Reshape(FWidth, rows);
    TLayerSteps::DrawTextLayer(FParams, FBand.Canvas(), TSize{FWidth, rows}, TPoint{FOrigin.X, FOrigin.Y - top});
}

const std::uint32_t* TTextBands::Row(int y)
{
    if (y >= FBandTop + FBand.Height())
        DrawBand(y);
    return FBand.ScanLine(y - FBandTop);
}
