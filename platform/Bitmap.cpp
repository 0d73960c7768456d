#include "platform/Bitmap.h"

#include "platform/Canvas.h"

#include <cstdlib>
#include <sys/mman.h>

namespace {

constexpr qsizetype HugePage = 2 * 1024 * 1024;

// A large surface gets memory aligned to, and advised for, huge pages: a fresh
// 10 MB layer otherwise spends most of its first fill taking page faults.
QImage NewSurface(int width, int height)
{
    const qsizetype bytes = qsizetype(width) * height * 4;
    if (bytes < HugePage)
        return QImage(width, height, QImage::Format_RGB32);
    const qsizetype rounded = (bytes + HugePage - 1) / HugePage * HugePage;
    void* memory = std::aligned_alloc(HugePage, rounded);
    if (!memory)
        return QImage(width, height, QImage::Format_RGB32);
    madvise(memory, rounded, MADV_HUGEPAGE);
    return QImage(static_cast<uchar*>(memory), width, height, qsizetype(width) * 4, QImage::Format_RGB32,
                  [](void* block) { std::free(block); }, memory);
}

} // namespace

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
        FImage = NewSurface(width, height);
        if (!FImage.isNull())
            FImage.fill(0xFF000000u);
    }
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
