#pragma once

#include "platform/raster/FontFile.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text of the font locator's cache file, apart from reading and writing it:
//   vezodev font cache 1
//   env <what decides fontconfig's answers besides its files, tab separated>
//   stamp <modification time> <path>                      one a watched path
//   face <family> <bold> <italic> <path> <index> <family found> <found> end
// Fields are separated by tabs. Error policy: any line that is not one of these makes
// the whole text unreadable (nothing is taken from it), as does a different header.
struct TFontCache {
    struct TStamp {
        std::string Path;
        std::string Time; // modification time, or "-" for a path that does not exist
    };

    std::string Environment;
    std::vector<TStamp> Stamps;
    // Answers by QuestionKey.
    std::map<std::string, TFontFile> Answers;

    // "family<tab>bold<tab>italic", the family in UTF-8, bold and italic as 0 or 1: the
    // key of a question about a family and style, in the file and in memory.
    static std::string QuestionKey(std::u16string_view family, bool bold, bool italic);

    static std::optional<TFontCache> Parse(const std::string& text);
    std::string Format() const;
};
