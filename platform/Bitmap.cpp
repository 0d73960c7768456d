#include "platform/Bitmap.h"

#include "platform/Canvas.h"

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height)
{
    SetSize(width, height);
}

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height)
{
    if (width == Width() && height == Height() && (!FImage.isNull() || width <= 0 || height <= 0))
        return;
    if (width <= 0 || height <= 0)
        FImage = QImage();
    else {
        FImage = QImage(width, height, QImage::Format_RGB32);
        FImage.fill(0xFF000000u);
    }
    if (FCanvas)
        FCanvas->SurfaceChanged();
}

TCanvas& TBitmap::Canvas()
{
    if (!FCanvas)
        FCanvas = std::make_unique<TCanvas>(&FImage);
    return *FCanvas;
}

const TCanvas& TBitmap::Canvas() const
{
    if (!FCanvas)
        FCanvas = std::make_unique<TCanvas>(const_cast<QImage*>(&FImage));
    return *FCanvas;
}

TColor TBitmap::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        return clNone;
    return PixelToRGB(ScanLine(y)[x]);
}
