#pragma once

#include <QAccessibleWidget>
#include <QHash>

class TManyBtn;

// A multi-cell button as a screen reader sees it: a group named by the owner (or else by
// its hint) whose children are its cells, one TManyBtnCellAccessible each, made once and
// kept while the cell exists.
class TManyBtnAccessible : public QAccessibleWidget {
public:
    explicit TManyBtnAccessible(TManyBtn* button);
    ~TManyBtnAccessible() override;

    // The accessibility factory for TManyBtn.
    static QAccessibleInterface* Create(const QString& className, QObject* object);

    TManyBtn* Button() const;

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

private:
    mutable QHash<int, QAccessible::Id> FCells; // by 0-based index
};
