#pragma once

#include "platform/raster/Pixels.h"

#include <memory>

class TCanvas;

// An off-screen surface with the canvas that draws on it, made on first use.
class TBitmap : public TPixels {
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap();

    TCanvas& Canvas();
    const TCanvas& Canvas() const;

private:
    mutable std::unique_ptr<TCanvas> FCanvas;
};
