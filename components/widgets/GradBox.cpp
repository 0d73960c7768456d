#include "components/widgets/GradBox.h"

#include "platform/raster/Canvas.h"
#include "platform/base/Store.h"
#include "platform/widgets/QtText.h"

TGradBox::TGradBox(QWidget* parent)
    : TGraphicControl(parent)
{
    // The box shows a logo's gradient, frame and caption, in the logo's own colours.
    SetSystemColors(ctClassic);
    resize(200, 100);
}

void TGradBox::SetCaptionLeft(int value) { if (Store(FCaptionLeft, value)) Invalidate(); }
void TGradBox::SetCaptionTop(int value) { if (Store(FCaptionTop, value)) Invalidate(); }
void TGradBox::SetTopColor(TColor value) { if (Store(FTopColor, value)) Invalidate(); }
void TGradBox::SetLastColor(TColor value) { if (Store(FLastColor, value)) Invalidate(); }
void TGradBox::SetDrawOutLine(bool value) { if (Store(FDrawOutLine, value)) Invalidate(); }
// Under gsNone nothing is filled, so whatever lies beneath the box shows through.
void TGradBox::SetGradStyle(TGradStyle value)
{
    if (!Store(FGradStyle, value))
        return;
    SetSeeThrough(value == gsNone);
    Invalidate();
}
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

TRect TGradBox::CaptionRect() const
{
    return Rect(FCaptionLeft, FCaptionTop, Left() + Width(), Top() + Height());
}

void TGradBox::Paint()
{
    TCanvas& canvas = Canvas();
    MakeColorTable(FTopColor, FLastColor, FGradStyle, FColorTable);
    TGradientFill::FillGradient(canvas, FColorTable, FGradStyle, Width(), Height());
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
    canvas.DrawText(ToText(Caption()), rect, DT_WORDBREAK | DT_EXPANDTABS);
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
