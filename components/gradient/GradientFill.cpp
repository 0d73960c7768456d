#include "components/gradient/GradientFill.h"

#include "platform/raster/Canvas.h"

void TGradientFill::GetRGB(TColor color, int& red, int& green, int& blue)
{
    const TColor rgb = ColorToRGB(color);
    red = rgb & 0xFF;
    green = (rgb >> 8) & 0xFF;
    blue = (rgb >> 16) & 0xFF;
}

// The running values are accumulated by repeated subtraction in extended precision;
// recomputing c1 - i * d, or working in double, gives other tables.
void TGradientFill::MakeColorTable(TColor topColor, TColor lastColor, TGradStyle style, TColorTable& table)
{
    if (style == gsNone)
        return;
    const bool forward = style == gsTopBottom || style == gsLeftRight;
    const TColor start = forward ? topColor : lastColor;
    const TColor end = forward ? lastColor : topColor;
    int r1, g1, b1, r2, g2, b2;
    GetRGB(start, r1, g1, b1);
    GetRGB(end, r2, g2, b2);
    const long double dR = static_cast<long double>(r1 - r2) / 255;
    const long double dG = static_cast<long double>(g1 - g2) / 255;
    const long double dB = static_cast<long double>(b1 - b2) / 255;
    long double vR = r1, vG = g1, vB = b1;
    table[0] = start;
    for (int i = 1; i <= 254; ++i) {
        vR -= dR;
        vG -= dG;
        vB -= dB;
        const TColor red = static_cast<TColor>(static_cast<long long>(vR)) & 0xFF;
        const TColor green = static_cast<TColor>(static_cast<long long>(vG)) & 0xFF;
        const TColor blue = static_cast<TColor>(static_cast<long long>(vB)) & 0xFF;
        table[i] = red + 256 * green + 65536 * blue;
    }
    table[255] = end;
}

// Stripe i starts where trunc((i - 1) * s) fell and is trunc(s + 1) thick, so each
// stripe covers what it overlaps of the ones before it.
void TGradientFill::FillGradient(TCanvas& canvas, const TColorTable& table, TGradStyle style, int width, int height)
{
    if (style == gsNone)
        return;
    const bool vertical = style == gsTopBottom || style == gsBottomTop;
    const int length = vertical ? height : width;
    const long double s = static_cast<long double>(length) / 255;
    const int thickness = static_cast<int>(s + 1);
    int p = 0;
    for (int i = 0; i <= 255; ++i) {
        canvas.Brush().SetColor(table[i]);
        canvas.FillRect(vertical ? Rect(0, p, width, p + thickness) : Rect(p, 0, p + thickness, height));
        p = static_cast<int>(i * s);
    }
}

void TGradientFill::PaintGradient(TCanvas& canvas, int width, int height, TColor topColor, TColor lastColor, TGradStyle style)
{
    TColorTable table{};
    MakeColorTable(topColor, lastColor, style, table);
    FillGradient(canvas, table, style, width, height);
}
