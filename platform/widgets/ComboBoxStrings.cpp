#include "platform/widgets/ComboBoxStrings.h"

#include "platform/base/Exception.h"
#include "platform/widgets/Tr.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace {

[[noreturn]] void IndexError(int index)
{
    throw EStringListError(Tr("リストのインデックスが範囲を超えています (%1)").arg(index));
}

} // namespace

QString TComboBoxStrings::Get(int index) const
{
    if (index < 0 || index >= Count())
        IndexError(index);
    return FComboBox->itemText(index);
}

int TComboBoxStrings::Count() const
{
    return FComboBox->count();
}

void TComboBoxStrings::Clear()
{
    const QSignalBlocker blocker(FComboBox);
    FComboBox->clear();
}

void TComboBoxStrings::Delete(int index)
{
    if (index < 0 || index >= Count())
        IndexError(index);
    const QSignalBlocker blocker(FComboBox);
    const int selected = FComboBox->currentIndex();
    FComboBox->removeItem(index);
    // Qt moves the selection to a neighbour; the old list selected nothing then.
    if (selected == index)
        FComboBox->setCurrentIndex(-1);
}

void TComboBoxStrings::Insert(int index, const QString& text)
{
    if (index < 0 || index > Count())
        IndexError(index);
    const QSignalBlocker blocker(FComboBox);
    const int selected = FComboBox->currentIndex();
    FComboBox->insertItem(index, text);
    // Qt selects the first item put into an empty list; keep the selection as it was.
    FComboBox->setCurrentIndex(selected < 0 ? -1 : (index <= selected ? selected + 1 : selected));
}

void TComboBoxStrings::Assign(const TStrings& source)
{
    const QStringList strings = source.ToStringList();
    const QSignalBlocker blocker(FComboBox);
    FComboBox->clear();
    FComboBox->addItems(strings);
    FComboBox->setCurrentIndex(-1);
}
