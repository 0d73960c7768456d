#include "platform/raster/Pixels.h"

#include <cstdlib>
#include <cwchar>
#include <new>
#include <sys/mman.h>

namespace {

constexpr std::size_t HugePage = 2 * 1024 * 1024;

} // namespace

void TPixels::TFree::operator()(std::uint32_t* bits) const
{
    std::free(bits);
}

TPixels::TPixels() = default;

TPixels::TPixels(int width, int height)
{
    SetSize(width, height);
}

TPixels::~TPixels() = default;

// A large surface gets memory aligned to, and advised for, huge pages: a fresh 10 MB
// layer otherwise spends most of its first fill taking page faults.
bool TPixels::Allocate(int width, int height)
{
    if (width <= 0 || height <= 0) {
        FBits = nullptr;
        FWidth = FHeight = 0;
        return false;
    }
    const std::size_t pixels = std::size_t(width) * std::size_t(height);
    if (pixels > FCapacity) {
        FMemory.reset();
        FCapacity = 0;
        const std::size_t bytes = pixels * 4;
        void* memory = nullptr;
        if (bytes >= HugePage) {
            const std::size_t rounded = (bytes + HugePage - 1) / HugePage * HugePage;
            memory = std::aligned_alloc(HugePage, rounded);
            if (memory)
                madvise(memory, rounded, MADV_HUGEPAGE);
        }
        if (!memory)
            memory = std::malloc(bytes);
        if (!memory)
            throw std::bad_alloc();
        FMemory.reset(static_cast<std::uint32_t*>(memory));
        FCapacity = pixels;
    }
    FBits = FMemory.get();
    FWidth = width;
    FHeight = height;
    return true;
}

void TPixels::SetSize(int width, int height)
{
    if (width == FWidth && height == FHeight && (FBits || width <= 0 || height <= 0))
        return;
    if (Allocate(width, height))
        Fill(0xFF000000u);
}

void TPixels::Reshape(int width, int height)
{
    Allocate(width, height);
}

void TPixels::Fill(std::uint32_t pixel)
{
    // wmemset fills 32-bit units with the C library's vector code.
    static_assert(sizeof(wchar_t) == sizeof(std::uint32_t));
    if (FBits)
        std::wmemset(reinterpret_cast<wchar_t*>(FBits), static_cast<wchar_t>(pixel), std::size_t(FWidth) * FHeight);
}

TColor TPixels::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        return clNone;
    return PixelToRGB(ScanLine(y)[x]);
}
