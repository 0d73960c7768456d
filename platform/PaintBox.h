#pragma once

#include "platform/GraphicControl.h"

// A surface its owner draws on through Canvas(); what was drawn stays shown until the
// owner draws again or the box is resized.
class TPaintBox : public TGraphicControl {
    Q_OBJECT
public:
    explicit TPaintBox(QWidget* parent = nullptr) : TGraphicControl(parent) {}

    // What the canvas holds, in the box's size.
    const TBitmap& Picture() { Canvas(); return Surface(); }

    // Fired when the box is painted (after an invalidate or an exposure).
    TNotifyEvent OnPaint;

protected:
    void Paint() override
    {
        if (OnPaint)
            OnPaint(this);
    }
};
