#pragma once

#include <cstdint>

// A colour as the program stores it: 0x00BBGGRR (red in the low byte), or a system
// colour 0x80000000 + index, resolved through GetSysColor when it is drawn.
using TColor = std::uint32_t;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBlack = 0x00000000;
constexpr TColor clWhite = 0x00FFFFFF;
constexpr TColor clGray = 0x00808080;
constexpr TColor clSystemColor = 0x80000000;
// The system colours by their index in the platform's table.
constexpr TColor clWindow = clSystemColor + 5;
constexpr TColor clWindowText = clSystemColor + 8;
constexpr TColor clHighlight = clSystemColor + 13;
constexpr TColor clHighlightText = clSystemColor + 14;
constexpr TColor clBtnFace = clSystemColor + 15;
constexpr TColor clBtnShadow = clSystemColor + 16;
constexpr TColor clBtnText = clSystemColor + 18;
constexpr TColor clBtnHighlight = clSystemColor + 20;
constexpr TColor clInfoText = clSystemColor + 23;
constexpr TColor clInfoBk = clSystemColor + 24;

constexpr int SystemColorCount = 25;

// The platform's current value of system colour index (0 = COLOR_SCROLLBAR ..
// 24 = COLOR_INFOBK) as 0x00BBGGRR; 0 for an index outside the table.
TColor GetSysColor(int index);

// Resolves a system colour to its current 0x00BBGGRR value; any other value is kept.
TColor ColorToRGB(TColor color);

// 0x00BBGGRR to the 0xFFRRGGBB pixel of a 32-bit surface.
constexpr std::uint32_t RGBToPixel(TColor rgb)
{
    return 0xFF000000u | ((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu);
}

// A colour, system colours resolved, as the 0xFFRRGGBB pixel of a 32-bit surface.
inline std::uint32_t ColorToPixel(TColor color)
{
    return RGBToPixel(ColorToRGB(color));
}

// A 32-bit surface pixel back to 0x00BBGGRR; the unused top byte is dropped.
constexpr TColor PixelToRGB(std::uint32_t pixel)
{
    return ((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu);
}
