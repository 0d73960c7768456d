#pragma once

#include "platform/raster/Color.h"

#include <QColor>

// 0x00BBGGRR (system colours resolved) as an opaque QColor, and back.
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);
