#include "platform/widgets/ComboBoxStrings.h"

#include "platform/widgets/QtText.h"

#include <QComboBox>
#include <QSignalBlocker>

std::u16string TComboBoxStrings::Get(int index) const
{
    if (index < 0 || index >= Count())
        IndexError(index);
    return ToText(FComboBox->itemText(index));
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

void TComboBoxStrings::Insert(int index, const std::u16string& text)
{
    if (index < 0 || index > Count())
        IndexError(index);
    const QSignalBlocker blocker(FComboBox);
    const int selected = FComboBox->currentIndex();
    FComboBox->insertItem(index, ToQString(text));
    // Qt selects the first item put into an empty list; keep the selection as it was.
    FComboBox->setCurrentIndex(selected < 0 ? -1 : (index <= selected ? selected + 1 : selected));
}

void TComboBoxStrings::Assign(const TStrings& source)
{
    const QStringList strings = ToQStringList(source.ToStringList());
    const QSignalBlocker blocker(FComboBox);
    FComboBox->clear();
    FComboBox->addItems(strings);
    FComboBox->setCurrentIndex(-1);
}
