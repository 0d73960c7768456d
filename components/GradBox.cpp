#include "components/GradBox.h"

#include "platform/Canvas.h"

namespace {

bool IsVertical(TGradStyle style)
{
    return style == gsTopBottom || style == gsBottomTop;
}

// Sets a property field; a change asks for a repaint when it shows.
template <typename T>
bool Store(T& field, T value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace

TGradBox::TGradBox(QWidget* parent)
    : TGraphicControl(parent)
{
    resize(200, 100);
}

void TGradBox::SetCaptionLeft(int value) { if (Store(FCaptionLeft, value)) Invalidate(); }
void TGradBox::SetCaptionTop(int value) { if (Store(FCaptionTop, value)) Invalidate(); }
void TGradBox::SetTopColor(TColor value) { if (Store(FTopColor, value)) Invalidate(); }
void TGradBox::SetLastColor(TColor value) { if (Store(FLastColor, value)) Invalidate(); }
void TGradBox::SetDrawOutLine(bool value) { if (Store(FDrawOutLine, value)) Invalidate(); }
void TGradBox::SetGradStyle(TGradStyle value) { if (Store(FGradStyle, value)) Invalidate(); }
void TGradBox::SetFont3D(bool value) { if (Store(FFont3D, value)) Invalidate(); }
void TGradBox::SetStyle3D(TFontStyle3D value) { if (Store(FStyle3D, value)) Invalidate(); }

void TGradBox::SetOutLineColor(TColor value)
{
    if (Store(FOutLineColor, value) && FDrawOutLine)
        Invalidate();
}

void TGradBox::SetFontDepth(std::uint8_t value)
{
    if (Store(FFontDepth, value) && FFont3D)
        Invalidate();
}

void TGradBox::SetBackFont(TColor value)
{
    if (Store(FBackFont, value) && FFont3D)
        Invalidate();
}

void TGradBox::SetGradStyleProperty(int value)
{
    if (value >= gsTopBottom && value <= gsNone)
        SetGradStyle(static_cast<TGradStyle>(value));
}

void TGradBox::SetStyle3DProperty(int value)
{
    if (value >= fsLowShadow && value <= fsRaise3D)
        SetStyle3D(static_cast<TFontStyle3D>(value));
}

void TGradBox::SetFontDepthProperty(int value)
{
    if (value >= 0 && value <= 255)
        SetFontDepth(static_cast<std::uint8_t>(value));
}

void TGradBox::TextChanged()
{
    Invalidate();
}

void TGradBox::GetRGB(TColor color, int& red, int& green, int& blue)
{
    const TColor rgb = ColorToRGB(color);
    red = rgb & 0xFF;
    green = (rgb >> 8) & 0xFF;
    blue = (rgb >> 16) & 0xFF;
}

// The running values are accumulated by repeated subtraction in extended precision;
// recomputing c1 - i * d, or working in double, gives other tables.
void TGradBox::MakeColorTable(TColor topColor, TColor lastColor, TGradStyle style, TColorTable& table)
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
void TGradBox::FillGradient(TCanvas& canvas, const TColorTable& table, TGradStyle style, int width, int height)
{
    if (style == gsNone)
        return;
    const bool vertical = IsVertical(style);
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

void TGradBox::PaintGradient(TCanvas& canvas, int width, int height, TColor topColor, TColor lastColor, TGradStyle style)
{
    TColorTable table{};
    MakeColorTable(topColor, lastColor, style, table);
    FillGradient(canvas, table, style, width, height);
}

TRect TGradBox::CaptionRect() const
{
    return Rect(FCaptionLeft, FCaptionTop, Left() + Width(), Top() + Height());
}

void TGradBox::Paint()
{
    TCanvas& canvas = Canvas();
    MakeColorTable(FTopColor, FLastColor, FGradStyle, FColorTable);
    FillGradient(canvas, FColorTable, FGradStyle, Width(), Height());
    canvas.Font() = Font();
    canvas.Brush().SetStyle(bsClear);
    canvas.Pen().Color = FOutLineColor;
    canvas.Pen().Style = psSolid;
    if (FDrawOutLine)
        canvas.Rectangle(0, 0, Width(), Height());
    DrawCaption(canvas, CaptionRect());
    if (OnPaint)
        OnPaint(this);
}

void TGradBox::DrawCaptionAt(TCanvas& canvas, TRect rect, int dx, int dy)
{
    rect.Offset(dx, dy);
    canvas.DrawText(Caption(), rect, DT_WORDBREAK | DT_EXPANDTABS);
}

void TGradBox::DrawCaption(TCanvas& canvas, const TRect& captionRect)
{
    canvas.Brush().SetStyle(bsClear);
    canvas.Font() = Font();
    if (!Enabled()) {
        canvas.Font().SetColor(clWhite);
        DrawCaptionAt(canvas, captionRect, 1, 1);
        canvas.Font().SetColor(clGray);
        DrawCaptionAt(canvas, captionRect, 0, 0);
        return;
    }
    if (FFont3D) {
        const int d = FFontDepth;
        canvas.Font().SetColor(FBackFont);
        switch (FStyle3D) {
        case fsLowShadow: DrawCaptionAt(canvas, captionRect, d, d); break;
        case fsRaiseShadow: DrawCaptionAt(canvas, captionRect, -d, -d); break;
        case fsLow3D: for (int k = 1; k <= d; ++k) DrawCaptionAt(canvas, captionRect, k, k); break;
        case fsRaise3D: for (int k = 1; k <= d; ++k) DrawCaptionAt(canvas, captionRect, -k, -k); break;
        }
        canvas.Font() = Font();
    }
    DrawCaptionAt(canvas, captionRect, 0, 0);
}
