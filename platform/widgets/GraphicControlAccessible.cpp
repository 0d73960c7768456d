#include "platform/widgets/GraphicControlAccessible.h"

#include "platform/widgets/CaptionName.h"
#include "platform/widgets/GraphicControl.h"
#include "platform/widgets/AccessibleFactory.h"

TGraphicControlAccessible::TGraphicControlAccessible(TGraphicControl* control)
    : TControlAccessible(control, control->AccessibleRole())
{
}

QString TGraphicControlAccessible::FallbackName() const
{
    return CaptionName(Control()->ShownText());
}

QString TGraphicControlAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        return widget()->accessibleName().isEmpty() ? FallbackName() : widget()->accessibleName();
    case QAccessible::Description:
        if (role() == QAccessible::Graphic && widget()->accessibleDescription().isEmpty())
            return imageDescription();
        return QAccessibleWidget::text(t);
    default:
        return QAccessibleWidget::text(t);
    }
}

bool TGraphicControlAccessible::OffersInterface() const
{
    return role() == QAccessible::Graphic;
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

void TGraphicControlAccessible::Install()
{
    TAccessibleFactory<TGraphicControlAccessible, TGraphicControl>::Install();
}
