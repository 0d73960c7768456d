#pragma once

#include <QByteArray>
#include <QImage>

// The bytes of an uncompressed Windows BMP file, 24 bits a pixel, rows stored
// bottom first, 96 dpi. Any image format is accepted; alpha is dropped.
// A null image gives a valid file of 0 x 0 pixels (the 54 header bytes alone),
// which the format allows, so saving never fails for want of pixels.
// Throws ELogoSizeError when the file would exceed the 4 GiB the header can count.
QByteArray EncodeBmp24(const QImage& image);
