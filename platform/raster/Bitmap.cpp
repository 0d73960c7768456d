#include "platform/raster/Bitmap.h"

#include "platform/raster/Canvas.h"

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) : TPixels(width, height) {}

TBitmap::~TBitmap() = default;

TCanvas& TBitmap::Canvas()
{
    if (!FCanvas)
        FCanvas = std::make_unique<TCanvas>(this);
    return *FCanvas;
}

const TCanvas& TBitmap::Canvas() const
{
    if (!FCanvas)
        FCanvas = std::make_unique<TCanvas>(const_cast<TBitmap*>(this));
    return *FCanvas;
}
