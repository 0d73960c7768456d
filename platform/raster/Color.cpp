#include "platform/raster/Color.h"

namespace {

// The "Windows Standard" scheme of Windows 95/98, the desktop this program was made
// for: grey 3D faces (C0C0C0), dark grey shadows, white highlights. Entries are
// 0x00BBGGRR. COLOR_3DLIGHT is DFDFDF as captured on Windows 98 SE.
constexpr TSystemColorValues ClassicValues = {
    0x00C0C0C0, // 0 COLOR_SCROLLBAR
    0x00808000, // 1 COLOR_BACKGROUND (008080 teal)
    0x00800000, // 2 COLOR_ACTIVECAPTION (000080 navy)
    0x00808080, // 3 COLOR_INACTIVECAPTION
    0x00C0C0C0, // 4 COLOR_MENU
    0x00FFFFFF, // 5 COLOR_WINDOW
    0x00000000, // 6 COLOR_WINDOWFRAME
    0x00000000, // 7 COLOR_MENUTEXT
    0x00000000, // 8 COLOR_WINDOWTEXT
    0x00FFFFFF, // 9 COLOR_CAPTIONTEXT
    0x00C0C0C0, // 10 COLOR_ACTIVEBORDER
    0x00C0C0C0, // 11 COLOR_INACTIVEBORDER
    0x00808080, // 12 COLOR_APPWORKSPACE
    0x00800000, // 13 COLOR_HIGHLIGHT (000080 navy)
    0x00FFFFFF, // 14 COLOR_HIGHLIGHTTEXT
    0x00C0C0C0, // 15 COLOR_BTNFACE
    0x00808080, // 16 COLOR_BTNSHADOW
    0x00808080, // 17 COLOR_GRAYTEXT
    0x00000000, // 18 COLOR_BTNTEXT
    0x00C0C0C0, // 19 COLOR_INACTIVECAPTIONTEXT
    0x00FFFFFF, // 20 COLOR_BTNHIGHLIGHT
    0x00000000, // 21 COLOR_3DDKSHADOW
    0x00DFDFDF, // 22 COLOR_3DLIGHT
    0x00000000, // 23 COLOR_INFOTEXT
    0x00E1FFFF, // 24 COLOR_INFOBK (FFFFE1 pale yellow)
};

// Starts as a copy of the classic values, so a window that never sets it looks classic.
TSystemColorValues DisplayValues = ClassicValues;

} // namespace

TColor GetSysColor(int index, TSystemColorTable table)
{
    if (index < 0 || index >= SystemColorCount)
        return 0;
    return table == ctDisplay ? DisplayValues[index] : ClassicValues[index];
}

TColor ColorToRGB(TColor color, TSystemColorTable table)
{
    if (color >= clSystemColor && color < clSystemColor + SystemColorCount)
        return GetSysColor(static_cast<int>(color - clSystemColor), table);
    return color;
}

const TSystemColorValues& ClassicSystemColors()
{
    return ClassicValues;
}

void SetDisplaySystemColors(const TSystemColorValues& values)
{
    DisplayValues = values;
}
