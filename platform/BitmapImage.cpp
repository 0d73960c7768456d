#include "platform/BitmapImage.h"

#include "platform/Bitmap.h"

QImage BitmapImage(const TBitmap& bitmap)
{
    if (bitmap.Empty())
        return QImage();
    return QImage(reinterpret_cast<const uchar*>(bitmap.Bits()), bitmap.Width(), bitmap.Height(),
                  qsizetype(bitmap.Stride()) * 4, QImage::Format_RGB32);
}

QImage BitmapImageCopy(const TBitmap& bitmap)
{
    return BitmapImage(bitmap).copy();
}
