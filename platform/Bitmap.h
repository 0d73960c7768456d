#pragma once

#include "platform/Color.h"

#include <QImage>
#include <cstdint>
#include <memory>

class TCanvas;

// A true-colour off-screen surface. Pixels are 32 bits, 0xFFRRGGBB in memory (the top
// byte is unused and kept at FF); Pixel() answers in the program's 0x00BBGGRR.
class TBitmap {
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }
    bool Empty() const { return FImage.isNull(); }
    // Resizes the surface; the content is not kept and the new surface is black.
    void SetSize(int width, int height);

    TCanvas& Canvas();
    const TCanvas& Canvas() const;
    const QImage& Image() const { return FImage; }
    QImage& Image() { return FImage; }

    TColor Pixel(int x, int y) const;
    std::uint32_t* ScanLine(int y) { return reinterpret_cast<std::uint32_t*>(FImage.scanLine(y)); }
    const std::uint32_t* ScanLine(int y) const { return reinterpret_cast<const std::uint32_t*>(FImage.constScanLine(y)); }
    int Stride() const { return static_cast<int>(FImage.bytesPerLine() / 4); }

private:
    QImage FImage;
    mutable std::unique_ptr<TCanvas> FCanvas; // made on first use
};
