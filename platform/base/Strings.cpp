#include "platform/base/Strings.h"

#include "platform/base/AsciiCase.h"
#include "platform/base/Exception.h"
#include "platform/base/UiLanguage.h"
#include "platform/base/UnicodeText.h"

namespace {

[[noreturn]] void IndexError(int index)
{
    throw EStringListError(Format(TrText("リストのインデックスが範囲を超えています (%1)"), {IntText(index)}));
}

} // namespace

int TStrings::Add(const std::u16string& text)
{
    const int index = Count();
    Insert(index, text);
    return index;
}

void TStrings::Put(int index, const std::u16string& text)
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

void TStrings::Assign(const std::vector<std::u16string>& source)
{
    Clear();
    for (const std::u16string& text : source)
        Add(text);
}

std::vector<std::u16string> TStrings::ToStringList() const
{
    std::vector<std::u16string> result;
    const int count = Count();
    result.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        result.push_back(Get(i));
    return result;
}

int TStrings::IndexOf(std::u16string_view text) const
{
    const int count = Count();
    for (int i = 0; i < count; ++i) {
        if (SameIgnoringAsciiCase(Get(i), text))
            return i;
    }
    return -1;
}

std::u16string TStringList::Get(int index) const
{
    if (index < 0 || index >= Count())
        IndexError(index);
    return FList[std::size_t(index)];
}

void TStringList::Delete(int index)
{
    if (index < 0 || index >= Count())
        IndexError(index);
    FList.erase(FList.begin() + index);
}

void TStringList::Insert(int index, const std::u16string& text)
{
    if (index < 0 || index > Count())
        IndexError(index);
    FList.insert(FList.begin() + index, text);
}
