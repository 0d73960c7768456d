#pragma once

// The screen the program's pixels are measured for: 96 pixels per inch, as the fonts'
// point sizes and the image files' resolution fields say it.
constexpr int PixelsPerInch = 96;
// The same in pixels per metre, rounded, as bitmap and PNG files record it (3780).
constexpr int PixelsPerMetre = (PixelsPerInch * 10000 + 127) / 254;
