#pragma once

#include "platform/widgets/GraphicControl.h"

// A lowered line along the control's left edge: shadow, then highlight.
class TBevel : public TGraphicControl {
    Q_OBJECT
public:
    explicit TBevel(QWidget* parent = nullptr) : TGraphicControl(parent) {}

    QAccessible::Role AccessibleRole() const override { return QAccessible::Separator; }

protected:
    void Paint() override
    {
        TCanvas& canvas = Canvas();
        canvas.Brush().SetColor(clBtnFace);
        canvas.FillRect(Rect(0, 0, Width(), Height()));
        canvas.Pen().Color = clBtnShadow;
        canvas.Polyline({{0, 0}, {0, Height()}});
        canvas.Pen().Color = clBtnHighlight;
        canvas.Polyline({{1, 0}, {1, Height()}});
    }
};
