#pragma once

#include <QAccessibleInterface>
#include <QPointer>

class TManyBtn;

// One cell of a multi-cell button for a screen reader: a radio button in a radio group,
// a push button otherwise, named by the button's CellName; checked while selected in a
// radio group, focused while the keyboard works on it. Its one action presses it.
class TManyBtnCellAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TManyBtnCellAccessible(TManyBtn* button, int cell);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QRect rect() const override;
    void setText(QAccessible::Text, const QString&) override {}
    QString text(QAccessible::Text t) const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    QPointer<TManyBtn> FButton;
    int FCell;
};
