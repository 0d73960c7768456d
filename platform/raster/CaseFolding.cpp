#include "platform/raster/CaseFolding.h"

#include "platform/base/UnicodeText.h"

#include <fontconfig/fontconfig.h>

#include <string>

namespace {

// The text case-folded. fontconfig folds C strings, so a text is folded as its parts
// between NULs, each in UTF-8, and the NULs are kept: a NUL inside a name ends nothing.
std::u16string Folded(std::u16string_view text)
{
    std::u16string folded;
    for (;;) {
        const std::size_t nul = text.find(u'\0');
        const std::string part = TextToUtf8(text.substr(0, nul));
        if (FcChar8* lower = FcStrDowncase(reinterpret_cast<const FcChar8*>(part.c_str()))) {
            folded += Utf8ToText(reinterpret_cast<const char*>(lower));
            FcStrFree(lower);
        }
        if (nul == std::u16string_view::npos)
            return folded;
        folded += u'\0';
        text.remove_prefix(nul + 1);
    }
}

} // namespace

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    return Folded(a) == Folded(b);
}

bool ContainsIgnoringCase(std::u16string_view text, std::u16string_view part)
{
    return Folded(text).find(Folded(part)) != std::u16string::npos;
}

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix)
{
    return Folded(text).starts_with(Folded(prefix));
}
