#pragma once

#include "platform/raster/Color.h"

#include <QColor>

// 0x00BBGGRR as an opaque QColor, system colours resolved in table: the display values
// by default, as the palettes of the window's Qt controls want them; a logo's colour
// shown in a control asks for the classic ones.
QColor ToQColor(TColor color, TSystemColorTable table = ctDisplay);
// An opaque QColor as 0x00BBGGRR.
TColor FromQColor(const QColor& color);
