#include "platform/widgets/QtColor.h"

QColor ToQColor(TColor color, TSystemColorTable table)
{
    return QColor::fromRgb(ColorToPixel(color, table));
}

TColor FromQColor(const QColor& color)
{
    return PixelToRGB(color.rgb());
}
