#pragma once

#include "platform/widgets/ControlAccessible.h"

class TSpinEdit;

// A number field as a screen reader sees it: a spin box with the field's value and range,
// whose children are its text and its two arrows. The field holds the focus, so it also
// offers its text's text interfaces, as Qt's own spin box does.
class TSpinEditAccessible : public TControlAccessible<TSpinEdit, QAccessibleValueInterface, QAccessible::ValueInterface> {
public:
    explicit TSpinEditAccessible(TSpinEdit* field);
    // Makes Qt ask this class for every TSpinEdit; once per process.
    static void Install();

    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;
};
