#include "platform/widgets/BitmapImage.h"

#include "platform/raster/Bitmap.h"

namespace {

QImage Wrap(const TBitmap& bitmap, QImage::Format format)
{
    if (bitmap.Empty())
        return QImage();
    return QImage(reinterpret_cast<const uchar*>(bitmap.Bits()), bitmap.Width(), bitmap.Height(),
                  qsizetype(bitmap.Stride()) * 4, format);
}

} // namespace

QImage BitmapImage(const TBitmap& bitmap)
{
    return Wrap(bitmap, QImage::Format_RGB32);
}

QImage BitmapImageWithAlpha(const TBitmap& bitmap)
{
    return Wrap(bitmap, QImage::Format_ARGB32_Premultiplied);
}

QImage BitmapImageCopy(const TBitmap& bitmap)
{
    return BitmapImage(bitmap).copy();
}
