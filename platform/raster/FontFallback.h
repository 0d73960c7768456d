#pragma once

#include "platform/raster/FontLocator.h"

#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

struct _FcCharSet;

// Chooses, for a character that a face and its fixed stand-ins lack, the installed
// face that draws it: the first of fontconfig's list sorted for the requested family
// and style (FcFontSort) whose character set holds it. Monochrome faces come before
// colour-only ones (emoji faces whose glyphs are colour bitmaps), so a symbol is
// drawn as an outline wherever some face has it as one. Each family and style is
// sorted once; the answers for single characters are left to the caller to keep.
// Thread-safe.
class TFontFallback {
public:
    TFontFallback() = default;
    ~TFontFallback();
    TFontFallback(const TFontFallback&) = delete;
    TFontFallback& operator=(const TFontFallback&) = delete;

    static TFontFallback& Shared();

    // The face for the character, or a file with an empty path when no installed face
    // has it.
    TFontFile FileFor(std::u16string_view family, bool bold, bool italic, char32_t code);

private:
    struct TCandidate {
        std::string Path;
        int Index = 0;
        std::u16string Family;
        _FcCharSet* Characters = nullptr;
    };

    const std::vector<TCandidate>& Candidates(std::u16string_view family, bool bold, bool italic);

    std::mutex FLock;
    std::map<std::string, std::vector<TCandidate>> FLists; // by TFontCache::QuestionKey
};
