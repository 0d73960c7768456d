#include "platform/raster/BmpEncoder.h"

#include "platform/raster/Bitmap.h"
#include "platform/raster/Exception.h"
#include "platform/raster/ScreenResolution.h"

#include <cstdint>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;
constexpr int PixelOffset = FileHeaderSize + InfoHeaderSize;

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
    out.Long(PixelsPerMetre);              // biXPelsPerMeter
    out.Long(PixelsPerMetre);              // biYPelsPerMeter
    out.Dword(0);                          // biClrUsed
    out.Dword(0);                          // biClrImportant
}

// Each stored row is B, G, R per pixel, then zeros up to the row stride.
void WritePixels(char* target, const TBitmap& bitmap, std::size_t stride)
{
    const int width = bitmap.Width();
    for (int y = bitmap.Height() - 1; y >= 0; --y) {
        const std::uint32_t* source = bitmap.ScanLine(y);
        auto* row = reinterpret_cast<unsigned char*>(target);
        unsigned char* pixel = row;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t rgb = source[x];
            pixel[0] = static_cast<unsigned char>(rgb);
            pixel[1] = static_cast<unsigned char>(rgb >> 8);
            pixel[2] = static_cast<unsigned char>(rgb >> 16);
            pixel += 3;
        }
        std::memset(pixel, 0, stride - (pixel - row));
        target += stride;
    }
}

// A large file buffer is fresh memory written once from end to end: huge pages spare
// it most of its page faults, as they do the bitmaps. The advice covers the whole pages
// inside the buffer; a kernel that declines it changes nothing.
void AdviseHugePages(char* data, std::size_t size)
{
    constexpr std::size_t HugePage = std::size_t(2) << 20;
    if (size < 2 * HugePage)
        return;
    const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));
    const std::uintptr_t first = (reinterpret_cast<std::uintptr_t>(data) + page - 1) / page * page;
    const std::uintptr_t last = (reinterpret_cast<std::uintptr_t>(data) + size) / page * page;
    madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

} // namespace

void EncodeBmp24(const TBitmap& bitmap, QByteArray& bytes)
{
    const std::size_t stride = (std::size_t(bitmap.Width()) * 24 + 31) / 32 * 4;
    const std::size_t imageSize = stride * std::size_t(bitmap.Height());
    if (PixelOffset + imageSize > std::size_t(UINT32_MAX))
        throw EImageSizeError(QStringLiteral("画像が大きすぎて BMP ファイルにできません"));
    // Every byte is written below, so the buffer is neither cleared nor, when it must
    // grow, copied; one kept by the caller is used again without fresh pages.
    const qsizetype size = qsizetype(PixelOffset + imageSize);
    if (bytes.capacity() < size) {
        bytes = QByteArray(size, Qt::Uninitialized);
        AdviseHugePages(bytes.data(), std::size_t(size));
    } else {
        bytes.resize(size);
    }
    WriteHeaders(bytes.data(), bitmap.Width(), bitmap.Height(), std::uint32_t(imageSize));
    WritePixels(bytes.data() + PixelOffset, bitmap, stride);
}

QByteArray EncodeBmp24(const TBitmap& bitmap)
{
    QByteArray bytes;
    EncodeBmp24(bitmap, bytes);
    return bytes;
}
