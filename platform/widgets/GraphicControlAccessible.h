#pragma once

#include <QAccessibleWidget>

class TGraphicControl;

// What a screen reader learns of a windowless control: the role the control names, its
// own accessible name or else the text it shows, and for a picture its size in pixels as
// the description ("245 x 41") and through the image interface.
class TGraphicControlAccessible : public QAccessibleWidget, public QAccessibleImageInterface {
public:
    explicit TGraphicControlAccessible(TGraphicControl* control);

    // The accessibility factory for every TGraphicControl.
    static QAccessibleInterface* Create(const QString& className, QObject* object);

    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QString imageDescription() const override;
    QSize imageSize() const override;
    QPoint imagePosition() const override;

private:
    TGraphicControl* Control() const;
};
