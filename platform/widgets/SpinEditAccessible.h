#pragma once

#include <QAccessibleWidget>

class TSpinEdit;

// A number field as a screen reader sees it: a spin box with the field's value and range,
// whose children are its text and its two arrows.
class TSpinEditAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit TSpinEditAccessible(TSpinEdit* field);

    // The accessibility factory for TSpinEdit.
    static QAccessibleInterface* Create(const QString& className, QObject* object);

    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    TSpinEdit* Field() const;
};
