#include "platform/widgets/Label.h"

#include "platform/base/Store.h"
#include "platform/widgets/QtText.h"

TLabel::TLabel(QWidget* parent)
    : TGraphicControl(parent)
{
}

void TLabel::SetAlignment(TAlignment alignment) { if (Store(FAlignment, alignment)) Invalidate(); }

void TLabel::SetAutoSize(bool autoSize) { if (Store(FAutoSize, autoSize)) AdjustBounds(); }

void TLabel::SetColor(TColor color) { if (Store(FColor, color)) Invalidate(); }

void TLabel::TextChanged()
{
    AdjustBounds();
    Invalidate();
    QAccessibleEvent named(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
}

void TLabel::FontChanged()
{
    AdjustBounds();
    Invalidate();
}

void TLabel::AdjustBounds()
{
    if (!FAutoSize)
        return;
    TBitmap probe(1, 1);
    probe.Canvas().Font() = Font();
    const TSize extent = probe.Canvas().TextExtent(ToText(Caption()));
    if (FAlignment == taRightJustify)
        SetBounds(Left() + Width() - extent.Width, Top(), extent.Width, extent.Height);
    else
        resize(extent.Width, extent.Height);
}

void TLabel::Paint()
{
    TCanvas& canvas = Canvas();
    canvas.Brush().SetColor(FColor);
    canvas.FillRect(Rect(0, 0, Width(), Height()));
    canvas.Font() = Font();
    canvas.Brush().SetStyle(bsClear);
    const int textWidth = canvas.TextWidth(ToText(Caption()));
    int x = 0;
    if (FAlignment == taRightJustify)
        x = Width() - textWidth;
    else if (FAlignment == taCenter)
        x = (Width() - textWidth) / 2;
    canvas.TextOut(x, 0, ToText(Caption()));
}
