#pragma once

#include <QAccessibleWidget>

// What a screen reader learns of one of our own controls, of class TControl, that offers
// one of Qt's further interfaces (TInterface, asked for as Type) beside the widget's own,
// for as long as OffersInterface says so.
template <class TControl, class TInterface, QAccessible::InterfaceType Type>
class TControlAccessible : public QAccessibleWidget, public TInterface {
public:
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == Type && OffersInterface())
            return static_cast<TInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

protected:
    TControlAccessible(TControl* control, QAccessible::Role role) : QAccessibleWidget(control, role) {}

    TControl* Control() const { return static_cast<TControl*>(widget()); }
    virtual bool OffersInterface() const { return true; }
};
