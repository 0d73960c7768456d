#include "tools/TextClasses.h"

#include <hb.h>

namespace {

hb_unicode_general_category_t CategoryOf(char16_t unit)
{
    return hb_unicode_general_category(hb_unicode_funcs_get_default(), unit);
}

} // namespace

bool IsSpaceUnit(char16_t unit)
{
    if (unit == u' ' || (unit >= u'\t' && unit <= u'\r') || unit == u'\u0085')
        return true;
    if (unit < 0x80)
        return false;
    switch (CategoryOf(unit)) {
    case HB_UNICODE_GENERAL_CATEGORY_SPACE_SEPARATOR:
    case HB_UNICODE_GENERAL_CATEGORY_LINE_SEPARATOR:
    case HB_UNICODE_GENERAL_CATEGORY_PARAGRAPH_SEPARATOR:
        return true;
    default:
        return false;
    }
}

bool IsLetterUnit(char16_t unit)
{
    if (unit < 0x80)
        return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z');
    switch (CategoryOf(unit)) {
    case HB_UNICODE_GENERAL_CATEGORY_UPPERCASE_LETTER:
    case HB_UNICODE_GENERAL_CATEGORY_LOWERCASE_LETTER:
    case HB_UNICODE_GENERAL_CATEGORY_TITLECASE_LETTER:
    case HB_UNICODE_GENERAL_CATEGORY_MODIFIER_LETTER:
    case HB_UNICODE_GENERAL_CATEGORY_OTHER_LETTER:
        return true;
    default:
        return false;
    }
}

std::u16string_view Trimmed(std::u16string_view text)
{
    std::size_t first = 0, end = text.size();
    while (first < end && IsSpaceUnit(text[first]))
        ++first;
    while (end > first && IsSpaceUnit(text[end - 1]))
        --end;
    return text.substr(first, end - first);
}
