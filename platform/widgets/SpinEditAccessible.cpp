#include "platform/widgets/SpinEditAccessible.h"

#include "platform/widgets/SpinEdit.h"

TSpinEditAccessible::TSpinEditAccessible(TSpinEdit* field)
    : QAccessibleWidget(field, QAccessible::SpinBox)
{
}

QAccessibleInterface* TSpinEditAccessible::Create(const QString& className, QObject* object)
{
    if (className != QLatin1String("TSpinEdit"))
        return nullptr;
    auto* field = qobject_cast<TSpinEdit*>(object);
    return field ? new TSpinEditAccessible(field) : nullptr;
}

TSpinEdit* TSpinEditAccessible::Field() const
{
    return static_cast<TSpinEdit*>(widget());
}

// The value is the text as typed, which may not yet be a number in range.
QString TSpinEditAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return Field()->Text();
    return QAccessibleWidget::text(t);
}

void* TSpinEditAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QVariant TSpinEditAccessible::currentValue() const { return Field()->Value(); }

void TSpinEditAccessible::setCurrentValue(const QVariant& value) { Field()->SetValue(value.toInt()); }

QVariant TSpinEditAccessible::maximumValue() const { return Field()->MaxValue(); }

QVariant TSpinEditAccessible::minimumValue() const { return Field()->MinValue(); }

QVariant TSpinEditAccessible::minimumStepSize() const { return Field()->Increment(); }
