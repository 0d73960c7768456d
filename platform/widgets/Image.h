#pragma once

#include "platform/widgets/GraphicControl.h"

// Shows a picture of the control's size; the first use of its canvas makes the
// picture's bitmap, which then keeps what was drawn on it.
class TImage : public TGraphicControl {
    Q_OBJECT
public:
    explicit TImage(QWidget* parent = nullptr) : TGraphicControl(parent) {}

    // The picture: what the canvas holds, in the control's size.
    const TBitmap& Picture() { Canvas(); return Surface(); }

    QAccessible::Role AccessibleRole() const override { return QAccessible::Graphic; }
};
