#include "components/widgets/ManyBtnAccessible.h"

#include "components/widgets/ManyBtn.h"
#include "components/widgets/ManyBtnCellAccessible.h"
#include "platform/widgets/AccessibleFactory.h"

TManyBtnAccessible::TManyBtnAccessible(TManyBtn* button)
    : TGraphicControlAccessible(button)
{
}

TManyBtnAccessible::~TManyBtnAccessible()
{
    for (QAccessible::Id id : std::as_const(FCells))
        QAccessible::deleteAccessibleInterface(id);
}

TManyBtn* TManyBtnAccessible::Button() const
{
    return static_cast<TManyBtn*>(widget());
}

QString TManyBtnAccessible::FallbackName() const
{
    return widget()->toolTip();
}

int TManyBtnAccessible::childCount() const
{
    return Button()->Cells();
}

QAccessibleInterface* TManyBtnAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    if (const auto found = FCells.constFind(index); found != FCells.constEnd())
        return QAccessible::accessibleInterface(*found);
    auto* cell = new TManyBtnCellAccessible(Button(), index + 1);
    FCells.insert(index, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

int TManyBtnAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child)
        return -1;
    const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
    for (auto entry = FCells.constBegin(); entry != FCells.constEnd(); ++entry)
        if (entry.value() == id)
            return entry.key() < childCount() ? entry.key() : -1;
    return -1;
}

QAccessibleInterface* TManyBtnAccessible::childAt(int x, int y) const
{
    const QPoint at = widget()->mapFromGlobal(QPoint(x, y));
    for (int index = 0; index < childCount(); ++index) {
        const TRect r = Button()->CellRect(index + 1);
        if (at.x() >= r.Left && at.x() < r.Right && at.y() >= r.Top && at.y() < r.Bottom)
            return child(index);
    }
    return nullptr;
}

QAccessibleInterface* TManyBtnAccessible::focusChild() const
{
    return widget()->hasFocus() ? child(Button()->FocusedCell() - 1) : nullptr;
}

void TManyBtnAccessible::Install()
{
    TAccessibleFactory<TManyBtnAccessible, TManyBtn>::Install();
}
