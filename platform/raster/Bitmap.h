#pragma once

#include "platform/raster/Color.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class TCanvas;

// A true-colour off-screen surface that owns its pixels. Pixels are 32 bits,
// 0xFFRRGGBB in memory (the top byte is unused and kept at FF); Pixel() answers in
// the program's 0x00BBGGRR. Rows are Stride() pixels apart.
class TBitmap {
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

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

    TCanvas& Canvas();
    const TCanvas& Canvas() const;

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
    mutable std::unique_ptr<TCanvas> FCanvas; // made on first use
};
