#pragma once

#include "platform/widgets/ControlAccessible.h"

class TGraphicControl;

// What a screen reader learns of a windowless control: the role the control names, its
// own accessible name or else its fallback name, and for a picture its size in pixels as
// the description ("245 x 41") and through the image interface. The accessible of a
// control that tells more (children, a fallback name of its own) derives from it.
class TGraphicControlAccessible
    : public TControlAccessible<TGraphicControl, QAccessibleImageInterface, QAccessible::ImageInterface> {
public:
    explicit TGraphicControlAccessible(TGraphicControl* control);
    // Makes Qt ask this class for every TGraphicControl; once per process, before the
    // first control is shown.
    static void Install();

    QString text(QAccessible::Text t) const override;

    QString imageDescription() const override;
    QSize imageSize() const override;
    QPoint imagePosition() const override;

protected:
    // The name of a control that has no accessible name of its own: the text it shows.
    // Never Qt's fallback, the title of the surrounding group box, which would give every
    // control of a group the same name.
    virtual QString FallbackName() const;
    // Only a picture has the image interface.
    bool OffersInterface() const override;
};
