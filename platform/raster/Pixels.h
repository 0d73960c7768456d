#pragma once

#include "platform/raster/Color.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// The pixels of a true-colour off-screen surface, which it owns. Pixels are 32 bits,
// 0xFFRRGGBB in memory (the top byte is unused and kept at FF); Pixel() answers in
// the program's 0x00BBGGRR. Rows are Stride() pixels apart. The canvas and the fonts
// draw on these; TBitmap adds the canvas that draws on its own pixels.
class TPixels {
public:
    TPixels();
    TPixels(int width, int height);
    ~TPixels();
    TPixels(const TPixels&) = delete;
    TPixels& operator=(const TPixels&) = delete;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Empty() const { return FBits == nullptr; }
    // Resizes the surface; the content is not kept and the new surface is black. The
    // same size keeps the surface as it is.
    void SetSize(int width, int height);
    // Resizes the surface for a caller that overwrites every pixel: nothing is cleared,
    // and memory already held is used again when it is large enough.
    void Reshape(int width, int height);
    // Sets every pixel to the 0xFFRRGGBB value.
    void Fill(std::uint32_t pixel);

    TColor Pixel(int x, int y) const;
    std::uint32_t* ScanLine(int y) { return FBits + std::ptrdiff_t(y) * FWidth; }
    const std::uint32_t* ScanLine(int y) const { return FBits + std::ptrdiff_t(y) * FWidth; }
    // Pixels from one row to the next.
    int Stride() const { return FWidth; }
    std::uint32_t* Bits() { return FBits; }
    const std::uint32_t* Bits() const { return FBits; }

private:
    struct TFree { void operator()(std::uint32_t* bits) const; };
    bool Allocate(int width, int height);

    std::unique_ptr<std::uint32_t[], TFree> FMemory;
    std::size_t FCapacity = 0; // pixels FMemory holds
    std::uint32_t* FBits = nullptr;
    int FWidth = 0;
    int FHeight = 0;
};
