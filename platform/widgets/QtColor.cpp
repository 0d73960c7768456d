#include "platform/widgets/QtColor.h"

QColor ToQColor(TColor color)
{
    return QColor::fromRgb(ColorToPixel(color));
}

TColor FromQColor(const QColor& color)
{
    return PixelToRGB(color.rgb());
}
