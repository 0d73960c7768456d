#pragma once

#include "platform/widgets/GraphicControlAccessible.h"

#include <QHash>

class TManyBtn;

// A multi-cell button as a screen reader sees it: a group named by the owner (or else by
// its hint) whose children are its cells, one TManyBtnCellAccessible each, made once and
// kept while the cell exists.
class TManyBtnAccessible : public TGraphicControlAccessible {
public:
    explicit TManyBtnAccessible(TManyBtn* button);
    // Makes Qt ask this class for every TManyBtn; once per process.
    static void Install();
    ~TManyBtnAccessible() override;

    TManyBtn* Button() const;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

protected:
    // A group is called by its hint: it shows no text of its own.
    QString FallbackName() const override;

private:
    mutable QHash<int, QAccessible::Id> FCells; // by 0-based index
};
