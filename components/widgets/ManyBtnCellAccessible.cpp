#include "components/widgets/ManyBtnCellAccessible.h"

#include "components/widgets/ManyBtn.h"

#include <QWidget>

TManyBtnCellAccessible::TManyBtnCellAccessible(TManyBtn* button, int cell)
    : FButton(button), FCell(cell)
{
}

bool TManyBtnCellAccessible::isValid() const
{
    return FButton && FCell <= FButton->Cells();
}

QWindow* TManyBtnCellAccessible::window() const
{
    return FButton ? FButton->window()->windowHandle() : nullptr;
}

QRect TManyBtnCellAccessible::rect() const
{
    if (!FButton)
        return QRect();
    const TRect r = FButton->CellRect(FCell);
    return QRect(FButton->mapToGlobal(QPoint(r.Left, r.Top)), QSize(r.Right - r.Left, r.Bottom - r.Top));
}

QString TManyBtnCellAccessible::text(QAccessible::Text t) const
{
    if (!FButton || t != QAccessible::Name)
        return QString();
    return FButton->CellName(FCell);
}

QAccessible::Role TManyBtnCellAccessible::role() const
{
    return FButton && FButton->AllowRadio() ? QAccessible::RadioButton : QAccessible::Button;
}

QAccessible::State TManyBtnCellAccessible::state() const
{
    QAccessible::State state;
    if (!FButton) {
        state.invalid = true;
        return state;
    }
    state.focusable = FButton->focusPolicy() != Qt::NoFocus;
    state.focused = FButton->hasFocus() && FButton->FocusedCell() == FCell;
    state.invisible = !FButton->isVisible();
    state.disabled = !FButton->isEnabled() || FButton->CellName(FCell).isEmpty();
    if (FButton->AllowRadio()) {
        state.checkable = true;
        state.checked = FButton->SelectedCell() == FCell;
    }
    return state;
}

QAccessibleInterface* TManyBtnCellAccessible::parent() const
{
    return FButton ? QAccessible::queryAccessibleInterface(FButton.data()) : nullptr;
}

void* TManyBtnCellAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

QStringList TManyBtnCellAccessible::actionNames() const
{
    return {pressAction()};
}

void TManyBtnCellAccessible::doAction(const QString& actionName)
{
    if (FButton && actionName == pressAction())
        FButton->PressCell(FCell);
}

QStringList TManyBtnCellAccessible::keyBindingsForAction(const QString& actionName) const
{
    return actionName == pressAction() ? QStringList{QStringLiteral("Space")} : QStringList();
}
