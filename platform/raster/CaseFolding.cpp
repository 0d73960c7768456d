#include "platform/raster/CaseFolding.h"

#include "platform/base/UnicodeText.h"

#include <fontconfig/fontconfig.h>

#include <string>
#include <vector>

namespace {

// fontconfig compares C strings: a text is compared as its parts between NULs, each
// in UTF-8, so that a NUL inside a name ends no comparison early.
std::vector<std::string> Parts(std::u16string_view text)
{
    std::vector<std::string> parts;
    for (;;) {
        const std::size_t nul = text.find(u'\0');
        parts.push_back(TextToUtf8(text.substr(0, nul)));
        if (nul == std::u16string_view::npos)
            return parts;
        text.remove_prefix(nul + 1);
    }
}

const FcChar8* Bytes(const std::string& text)
{
    return reinterpret_cast<const FcChar8*>(text.c_str());
}

// The place of part in text, folded, or null; an empty part is found at the start.
const FcChar8* Find(const std::string& text, const std::string& part)
{
    return part.empty() ? Bytes(text) : FcStrStrIgnoreCase(Bytes(text), Bytes(part));
}

} // namespace

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    const std::vector<std::string> first = Parts(a);
    const std::vector<std::string> second = Parts(b);
    if (first.size() != second.size())
        return false;
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (FcStrCmpIgnoreCase(Bytes(first[i]), Bytes(second[i])) != 0)
            return false;
    }
    return true;
}

bool ContainsIgnoringCase(std::u16string_view text, std::u16string_view part)
{
    const std::vector<std::string> wanted = Parts(part);
    if (wanted.size() != 1)
        return text.find(part) != std::u16string_view::npos;
    for (const std::string& piece : Parts(text)) {
        if (Find(piece, wanted.front()))
            return true;
    }
    return false;
}

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix)
{
    const std::vector<std::string> wanted = Parts(prefix);
    if (wanted.size() != 1)
        return text.substr(0, prefix.size()) == prefix;
    const std::string first = Parts(text).front();
    return Find(first, wanted.front()) == Bytes(first);
}
