#pragma once

#include "platform/raster/Color.h"

#include <array>
#include <cstdint>
#include <limits>

class TCanvas;

static_assert(std::numeric_limits<long double>::digits == 64,
              "The gradient colour tables are defined in 80-bit extended arithmetic; "
              "this target's long double is not that format, so the tables would differ.");

enum TGradStyle : std::uint8_t { gsTopBottom = 0, gsBottomTop = 1, gsLeftRight = 2, gsRightLeft = 3, gsNone = 4 };

using TColorTable = std::array<TColor, 256>;

// The gradient of the gradient box: a 256-entry colour table and its 256 stripes. The
// box paints with it, and so does the logo composer, which needs no widgets.
class TGradientFill {
public:
    // The colours a new gradient box starts with, and a logo's by default.
    static constexpr TColor DefaultTopColor = 0x00008000;
    static constexpr TColor DefaultLastColor = 0x0000FF00;

    // Red, green and blue of a colour, system colours resolved.
    static void GetRGB(TColor color, int& red, int& green, int& blue);
    // The 256 entries from the start to the end colour of the direction; under gsNone
    // the table is left as it was.
    static void MakeColorTable(TColor topColor, TColor lastColor, TGradStyle style, TColorTable& table);
    // The 256 stripes of a box width x height on the canvas.
    static void FillGradient(TCanvas& canvas, const TColorTable& table, TGradStyle style, int width, int height);
    // What a box without caption and frame paints: the gradient layer of a logo.
    static void PaintGradient(TCanvas& canvas, int width, int height, TColor topColor, TColor lastColor, TGradStyle style);
};
