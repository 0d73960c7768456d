#include "platform/widgets/SpinEditAccessible.h"

#include "platform/widgets/SpinEdit.h"
#include "platform/widgets/AccessibleFactory.h"

#include <QLineEdit>

TSpinEditAccessible::TSpinEditAccessible(TSpinEdit* field)
    : TControlAccessible(field, QAccessible::SpinBox)
{
}

// The value is the text as typed, which may not yet be a number in range.
QString TSpinEditAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return Control()->Text();
    return QAccessibleWidget::text(t);
}

void* TSpinEditAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface || type == QAccessible::EditableTextInterface)
        if (QAccessibleInterface* text = QAccessible::queryAccessibleInterface(Control()->Editor()))
            return text->interface_cast(type);
    return TControlAccessible::interface_cast(type);
}

QVariant TSpinEditAccessible::currentValue() const { return Control()->Value(); }

void TSpinEditAccessible::setCurrentValue(const QVariant& value) { Control()->SetValue(value.toInt()); }

QVariant TSpinEditAccessible::maximumValue() const { return Control()->MaxValue(); }

QVariant TSpinEditAccessible::minimumValue() const { return Control()->MinValue(); }

QVariant TSpinEditAccessible::minimumStepSize() const { return Control()->Increment(); }

void TSpinEditAccessible::Install()
{
    TAccessibleFactory<TSpinEditAccessible, TSpinEdit>::Install();
}
