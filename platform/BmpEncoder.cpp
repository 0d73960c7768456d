#include "platform/BmpEncoder.h"

#include "platform/Exception.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;
constexpr int PixelOffset = FileHeaderSize + InfoHeaderSize;
constexpr std::int32_t PixelsPerMetreAt96Dpi = 3780;

class TLittleEndianWriter {
public:
    explicit TLittleEndianWriter(char* target) : FNext(target) {}
    void Word(std::uint16_t value) { Bytes(value, 2); }
    void Dword(std::uint32_t value) { Bytes(value, 4); }
    void Long(std::int32_t value) { Bytes(std::uint32_t(value), 4); }

private:
    char* FNext;
    void Bytes(std::uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i)
            *FNext++ = char((value >> (8 * i)) & 0xFF);
    }
};

void WriteHeaders(char* target, std::int32_t width, std::int32_t height,
                  std::uint32_t imageSize)
{
    TLittleEndianWriter out(target);
    out.Word(0x4D42);                      // bfType "BM"
    out.Dword(PixelOffset + imageSize);    // bfSize
    out.Word(0);                           // bfReserved1
    out.Word(0);                           // bfReserved2
    out.Dword(PixelOffset);                // bfOffBits
    out.Dword(InfoHeaderSize);             // biSize
    out.Long(width);                       // biWidth
    out.Long(height);                      // biHeight (positive: bottom-up rows)
    out.Word(1);                           // biPlanes
    out.Word(24);                          // biBitCount
    out.Dword(0);                          // biCompression (BI_RGB)
    out.Dword(imageSize);                  // biSizeImage
    out.Long(PixelsPerMetreAt96Dpi);       // biXPelsPerMeter
    out.Long(PixelsPerMetreAt96Dpi);       // biYPelsPerMeter
    out.Dword(0);                          // biClrUsed
    out.Dword(0);                          // biClrImportant
}

// Each stored row is B, G, R per pixel, then zeros up to the row stride.
void WritePixels(char* target, const QImage& image, qsizetype stride)
{
    const int width = image.width();
    const int height = image.height();
    for (int y = height - 1; y >= 0; --y) {
        const QRgb* source = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uchar* row = reinterpret_cast<uchar*>(target);
        uchar* pixel = row;
        for (int x = 0; x < width; ++x) {
            const QRgb rgb = source[x];
            pixel[0] = uchar(qBlue(rgb));
            pixel[1] = uchar(qGreen(rgb));
            pixel[2] = uchar(qRed(rgb));
            pixel += 3;
        }
        std::memset(pixel, 0, stride - (pixel - row));
        target += stride;
    }
}

} // namespace

QByteArray EncodeBmp24(const QImage& image)
{
    const QImage rgb = image.format() == QImage::Format_RGB32
        ? image
        : image.convertToFormat(QImage::Format_RGB32);
    const qsizetype stride = (qsizetype(rgb.width()) * 24 + 31) / 32 * 4;
    const qsizetype imageSize = stride * rgb.height();
    if (PixelOffset + imageSize > qsizetype(UINT32_MAX))
        throw ELogoSizeError(QStringLiteral("画像が大きすぎて BMP ファイルにできません"));

    QByteArray bytes(PixelOffset + imageSize, Qt::Uninitialized);
    WriteHeaders(bytes.data(), rgb.width(), rgb.height(), std::uint32_t(imageSize));
    WritePixels(bytes.data() + PixelOffset, rgb, stride);
    return bytes;
}
