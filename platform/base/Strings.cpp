#include "platform/base/Strings.h"

#include "platform/base/Exception.h"
#include "platform/base/Tr.h"

namespace {

[[noreturn]] void IndexError(int index)
{
    throw EStringListError(Tr("リストのインデックスが範囲を超えています (%1)").arg(index));
}

} // namespace

int TStrings::Add(const QString& text)
{
    const int index = Count();
    Insert(index, text);
    return index;
}

void TStrings::Put(int index, const QString& text)
{
    Delete(index);
    Insert(index, text);
}

void TStrings::Assign(const TStrings& source)
{
    if (&source == this)
        return;
    Assign(source.ToStringList());
}

void TStrings::Assign(const QStringList& source)
{
    Clear();
    for (const QString& text : source)
        Add(text);
}

QStringList TStrings::ToStringList() const
{
    QStringList result;
    const int count = Count();
    result.reserve(count);
    for (int i = 0; i < count; ++i)
        result.push_back(Get(i));
    return result;
}

int TStrings::IndexOf(const QString& text) const
{
    const int count = Count();
    for (int i = 0; i < count; ++i) {
        if (Get(i).compare(text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString TStringList::Get(int index) const
{
    if (index < 0 || index >= Count())
        IndexError(index);
    return FList[index];
}

void TStringList::Delete(int index)
{
    if (index < 0 || index >= Count())
        IndexError(index);
    FList.removeAt(index);
}

void TStringList::Insert(int index, const QString& text)
{
    if (index < 0 || index > Count())
        IndexError(index);
    FList.insert(index, text);
}
