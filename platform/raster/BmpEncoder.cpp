#include "platform/raster/BmpEncoder.h"

#include "platform/raster/Bitmap.h"
#include "platform/raster/Exception.h"
#include "platform/raster/ScreenResolution.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
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

// count stored rows from the stored row first (rows are stored bottom first, so the
// bitmap's row Height() - 1 - first and those above it): B, G, R per pixel, then
// zeros up to the row stride.
void WriteRows(char* target, const TBitmap& bitmap, std::size_t stride, int first, int count)
{
    const int width = bitmap.Width();
    for (int stored = first; stored < first + count; ++stored) {
        const std::uint32_t* source = bitmap.ScanLine(bitmap.Height() - 1 - stored);
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

// The bytes of a stored row and of all of them; throws when the file would exceed
// what its header can count.
struct TBmpLayout {
    std::size_t Stride;
    std::size_t ImageSize;
};

TBmpLayout LayoutOf(const TBitmap& bitmap)
{
    const std::size_t stride = (std::size_t(bitmap.Width()) * 24 + 31) / 32 * 4;
    const std::size_t imageSize = stride * std::size_t(bitmap.Height());
    if (PixelOffset + imageSize > std::size_t(UINT32_MAX))
        throw EImageSizeError(QStringLiteral("画像が大きすぎて BMP ファイルにできません"));
    return TBmpLayout{stride, imageSize};
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
    const TBmpLayout layout = LayoutOf(bitmap);
    // Every byte is written below, so the buffer is neither cleared nor, when it must
    // grow, copied; one kept by the caller is used again without fresh pages.
    const qsizetype size = qsizetype(PixelOffset + layout.ImageSize);
    if (bytes.capacity() < size) {
        bytes = QByteArray(size, Qt::Uninitialized);
        AdviseHugePages(bytes.data(), std::size_t(size));
    } else {
        bytes.resize(size);
    }
    WriteHeaders(bytes.data(), bitmap.Width(), bitmap.Height(), std::uint32_t(layout.ImageSize));
    WriteRows(bytes.data() + PixelOffset, bitmap, layout.Stride, 0, bitmap.Height());
}

void EncodeBmp24(const TBitmap& bitmap, const TByteSink& sink)
{
    const TBmpLayout layout = LayoutOf(bitmap);
    const int height = bitmap.Height();
    // One run buffer is filled again and again: no memory the size of the file is touched.
    const int runRows = int(std::clamp<std::size_t>(BmpRunBytes / std::max<std::size_t>(layout.Stride, 1), 1,
                                                    std::size_t(std::max(height, 1))));
    const std::unique_ptr<char[]> run(new char[PixelOffset + std::size_t(runRows) * layout.Stride]);
    WriteHeaders(run.get(), bitmap.Width(), height, std::uint32_t(layout.ImageSize));
    char* next = run.get() + PixelOffset;
    int row = 0;
    do {
        const int count = std::min(runRows, height - row);
        WriteRows(next, bitmap, layout.Stride, row, count);
        next += std::size_t(count) * layout.Stride;
        sink(run.get(), std::size_t(next - run.get()));
        next = run.get();
        row += count;
    } while (row < height);
}

QByteArray EncodeBmp24(const TBitmap& bitmap)
{
    QByteArray bytes;
    EncodeBmp24(bitmap, bytes);
    return bytes;
}
