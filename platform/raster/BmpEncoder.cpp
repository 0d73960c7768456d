#include "platform/raster/BmpEncoder.h"

#include "platform/raster/Bitmap.h"
#include "platform/base/Exception.h"
#include "platform/raster/ScreenResolution.h"
#include "platform/base/UiLanguage.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

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

// Packs pixels 0xFFRRGGBB into B, G, R bytes; returns the end of what it wrote.
unsigned char* PackRowPlain(unsigned char* target, const std::uint32_t* source, int width)
{
    for (int x = 0; x < width; ++x, target += 3) {
        const std::uint32_t rgb = source[x];
        target[0] = static_cast<unsigned char>(rgb);
        target[1] = static_cast<unsigned char>(rgb >> 8);
        target[2] = static_cast<unsigned char>(rgb >> 16);
    }
    return target;
}

using TPackRow = unsigned char* (*)(unsigned char* target, const std::uint32_t* source, int width);

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// The same with one byte shuffle for four pixels: about a fifth of the plain loop's
// instructions, which were most of the encoder's. Each store writes 16 bytes, the last
// four of which the next store writes again, so the shuffles stop while fewer than two
// pixels would follow their four and the plain loop packs the rest.
__attribute__((target("ssse3"))) unsigned char* PackRowShuffled(unsigned char* target, const std::uint32_t* source,
                                                                  int width)
{
    const __m128i order = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int x = 0;
    for (; x + 6 <= width; x += 4, target += 12) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target), _mm_shuffle_epi8(pixels, order));
    }
    return PackRowPlain(target, source + x, width - x);
}

// The x86-64 baseline has no byte shuffle: the processor is asked once.
TPackRow ChoosePackRow()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("ssse3") ? PackRowShuffled : PackRowPlain;
}
#else
TPackRow ChoosePackRow()
{
    return PackRowPlain;
}
#endif

// count stored rows from the stored row first (rows are stored bottom first, so the
// bitmap's row Height() - 1 - first and those above it): B, G, R per pixel, then
// zeros up to the row stride.
void WriteRows(char* target, const TBitmap& bitmap, std::size_t stride, int first, int count)
{
    static const TPackRow packRow = ChoosePackRow();
    for (int stored = first; stored < first + count; ++stored) {
        auto* row = reinterpret_cast<unsigned char*>(target);
        unsigned char* end = packRow(row, bitmap.ScanLine(bitmap.Height() - 1 - stored), bitmap.Width());
        std::memset(end, 0, stride - std::size_t(end - row));
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
        throw EImageSizeError(TrText("画像が大きすぎて BMP ファイルにできません"));
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

void EncodeBmp24(const TBitmap& bitmap, std::string& bytes)
{
    const TBmpLayout layout = LayoutOf(bitmap);
    // Every byte is written below, so a buffer that must grow is not copied first; one
    // kept by the caller is used again without fresh pages.
    const std::size_t size = PixelOffset + layout.ImageSize;
    if (bytes.capacity() < size) {
        bytes = std::string();
        bytes.reserve(size);
        AdviseHugePages(bytes.data(), size);
    }
    bytes.resize(size);
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

std::string EncodeBmp24(const TBitmap& bitmap)
{
    std::string bytes;
    EncodeBmp24(bitmap, bytes);
    return bytes;
}
