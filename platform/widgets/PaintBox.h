#pragma once

#include "platform/widgets/Image.h"

#include <QScopedValueRollback>

// An image its owner draws on every paint, through Canvas(); what was drawn stays shown
// until the owner draws again or the box is resized.
class TPaintBox : public TImage {
    Q_OBJECT
public:
    using TImage::TImage;

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
