#include "components/widgets/CaptionStrings.h"

QString TCaptionStrings::Get(int index) const
{
    if (index < 0 || index >= FCount)
        return QString();
    return FList.Get(index);
}

void TCaptionStrings::Clear()
{
    FList.Clear();
    FCount = 0;
}

void TCaptionStrings::Delete(int index)
{
    FList.Delete(index); // throws for an index outside the list, before the count changes
    --FCount;
}

void TCaptionStrings::Insert(int index, const QString& text)
{
    if (index < 0 || index > FCount)
        return;
    FList.Insert(index, text);
    ++FCount;
}
