#pragma once

#include "platform/widgets/GraphicControl.h"

#include <QScopedValueRollback>

// A surface its owner draws on through Canvas(); what was drawn stays shown until the
// owner draws again or the box is resized.
class TPaintBox : public TGraphicControl {
    Q_OBJECT
public:
    explicit TPaintBox(QWidget* parent = nullptr) : TGraphicControl(parent) {}

    // What the canvas holds, in the box's size.
    const TBitmap& Picture() { Canvas(); return Surface(); }

    // Fired when the box is painted (after an invalidate or a resize).
    TNotifyEvent OnPaint;
    // True while OnPaint runs.
    bool Painting() const { return FPainting; }

protected:
    void Paint() override
    {
        if (!OnPaint)
            return;
        const QScopedValueRollback painting(FPainting, true);
        OnPaint(this);
    }

private:
    bool FPainting = false;
};
