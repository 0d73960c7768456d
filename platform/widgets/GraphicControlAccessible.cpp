#include "platform/widgets/GraphicControlAccessible.h"

#include "platform/widgets/GraphicControl.h"

TGraphicControlAccessible::TGraphicControlAccessible(TGraphicControl* control)
    : QAccessibleWidget(control, control->AccessibleRole())
{
}

QAccessibleInterface* TGraphicControlAccessible::Create(const QString& className, QObject* object)
{
    if (className != QLatin1String("TGraphicControl"))
        return nullptr;
    auto* control = qobject_cast<TGraphicControl*>(object);
    return control ? new TGraphicControlAccessible(control) : nullptr;
}

TGraphicControl* TGraphicControlAccessible::Control() const
{
    return static_cast<TGraphicControl*>(widget());
}

// The name never falls back to the title of the surrounding group box, which would give
// every control of a group the same name.
QString TGraphicControlAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        return widget()->accessibleName().isEmpty() ? Control()->ShownText() : widget()->accessibleName();
    case QAccessible::Description:
        if (role() == QAccessible::Graphic && widget()->accessibleDescription().isEmpty())
            return imageDescription();
        return QAccessibleWidget::text(t);
    default:
        return QAccessibleWidget::text(t);
    }
}

void* TGraphicControlAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ImageInterface && role() == QAccessible::Graphic)
        return static_cast<QAccessibleImageInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString TGraphicControlAccessible::imageDescription() const
{
    return QStringLiteral("%1 x %2").arg(Control()->Width()).arg(Control()->Height());
}

QSize TGraphicControlAccessible::imageSize() const
{
    return widget()->size();
}

QPoint TGraphicControlAccessible::imagePosition() const
{
    return widget()->mapToGlobal(QPoint(0, 0));
}
