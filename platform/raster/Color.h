#pragma once

#include <array>
#include <cstdint>

// A colour as the program stores it: 0x00BBGGRR (red in the low byte), or a system
// colour 0x80000000 + index, resolved through a table of system colours when it is drawn.
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

// The values of the system colours by index, 0x00BBGGRR.
using TSystemColorValues = std::array<TColor, SystemColorCount>;

// Which values a system colour takes. A logo is always drawn with the classic values,
// so its pixels never depend on the desktop it was made on; the controls of the window
// are drawn with the display values, which the window takes from the desktop's palette.
enum TSystemColorTable : unsigned char { ctClassic, ctDisplay };

// The value of system colour index (0 = COLOR_SCROLLBAR .. 24 = COLOR_INFOBK) in table
// as 0x00BBGGRR; 0 for an index outside the table.
TColor GetSysColor(int index, TSystemColorTable table = ctClassic);

// Resolves a system colour to its 0x00BBGGRR value in table; any other value is kept.
TColor ColorToRGB(TColor color, TSystemColorTable table = ctClassic);

// The classic values, which the display table holds until the window sets its own.
const TSystemColorValues& ClassicSystemColors();
// Replaces the display values. The window's thread alone sets and reads them.
void SetDisplaySystemColors(const TSystemColorValues& values);

// 0x00BBGGRR to the 0xFFRRGGBB pixel of a 32-bit surface.
constexpr std::uint32_t RGBToPixel(TColor rgb)
{
    return 0xFF000000u | ((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu);
}

// A colour, system colours resolved in table, as the 0xFFRRGGBB pixel of a 32-bit surface.
inline std::uint32_t ColorToPixel(TColor color, TSystemColorTable table = ctClassic)
{
    return RGBToPixel(ColorToRGB(color, table));
}

// A 32-bit surface pixel back to 0x00BBGGRR; the unused top byte is dropped.
constexpr TColor PixelToRGB(std::uint32_t pixel)
{
    return ((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu);
}
