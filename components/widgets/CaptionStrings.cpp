#include "components/widgets/CaptionStrings.h"

std::u16string TCaptionStrings::Get(int index) const
{
    if (index < 0 || index >= FCount)
        return {};
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

void TCaptionStrings::Insert(int index, const std::u16string& text)
{
    if (index < 0 || index > FCount)
        return;
    FList.Insert(index, text);
    ++FCount;
}
