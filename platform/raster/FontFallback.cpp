#include "platform/raster/FontFallback.h"

#include "platform/base/UnicodeText.h"

#include <fontconfig/fontconfig.h>

namespace {

bool IsColourOnly(FcPattern* font)
{
    FcBool colour = FcFalse;
    return FcPatternGetBool(font, FC_COLOR, 0, &colour) == FcResultMatch && colour;
}

} // namespace

TFontFallback::~TFontFallback()
{
    for (auto& [key, list] : FLists) {
        for (TCandidate& candidate : list)
            FcCharSetDestroy(candidate.Characters);
    }
}

TFontFallback& TFontFallback::Shared()
{
    static TFontFallback* fallback = new TFontFallback; // used until the process ends
    return *fallback;
}

const std::vector<TFontFallback::TCandidate>& TFontFallback::Candidates(std::u16string_view family, bool bold, bool italic)
{
    const std::string key = TFontCache::QuestionKey(family, bold, italic);
    const auto known = FLists.find(key);
    if (known != FLists.end())
        return known->second;
    std::vector<TCandidate>& list = FLists[key];
    FcPattern* pattern = FcPatternCreate();
    const std::string name = TextToUtf8(TFontLocator::Substitute(family));
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    // Not trimmed: a monochrome face whose characters a colour face before it already
    // covers must stay in the list, since it is tried first.
    FcFontSet* sorted = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
    FcPatternDestroy(pattern);
    if (!sorted)
        return list;
    std::vector<TCandidate> colour;
    for (int i = 0; i < sorted->nfont; ++i) {
        FcPattern* font = sorted->fonts[i];
        FcChar8* file = nullptr;
        FcCharSet* characters = nullptr;
        if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch
            || FcPatternGetCharSet(font, FC_CHARSET, 0, &characters) != FcResultMatch)
            continue;
        TCandidate candidate;
        candidate.Path = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(font, FC_INDEX, 0, &candidate.Index);
        FcChar8* familyName = nullptr;
        if (FcPatternGetString(font, FC_FAMILY, 0, &familyName) == FcResultMatch)
            candidate.Family = Utf8ToText(reinterpret_cast<const char*>(familyName));
        candidate.Characters = FcCharSetCopy(characters);
        (IsColourOnly(font) ? colour : list).push_back(std::move(candidate));
    }
    FcFontSetDestroy(sorted);
    list.insert(list.end(), colour.begin(), colour.end());
    return list;
}

TFontFile TFontFallback::FileFor(std::u16string_view family, bool bold, bool italic, char32_t code)
{
    const std::lock_guard<std::mutex> lock(FLock);
    for (const TCandidate& candidate : Candidates(family, bold, italic)) {
        if (FcCharSetHasChar(candidate.Characters, code))
            return TFontFile{candidate.Path, candidate.Index, candidate.Family, true};
    }
    return TFontFile{std::string(), 0, std::u16string(), false};
}
