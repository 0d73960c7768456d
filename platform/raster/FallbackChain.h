#pragma once

#include "platform/raster/Font.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TSizedFontFile;
struct TFontFile;

// The sized font files a realised face draws its characters from, in the order they
// are tried, all at the face's em and style: the face's own file; then the fixed
// stand-ins, as a Japanese desktop links fonts (the Japanese UI face, then DejaVu
// Sans), each opened when first needed; then the files fontconfig's fallback list
// (TFontFallback) names for characters none of those has, added as they are chosen.
// A file keeps its index and its place in memory for as long as the chain, so a
// reference to it may be kept while others are added. Thread-safe.
class TFallbackChain {
public:
    // own is the face's own file, already set to em, of the family ownFamily;
    // requested is the family asked for, for which fontconfig sorts its fallbacks.
    TFallbackChain(std::shared_ptr<TSizedFontFile> own, std::u16string_view ownFamily, std::u16string_view requested,
                   TFontStyles style, int em);
    ~TFallbackChain();
    TFallbackChain(const TFallbackChain&) = delete;
    TFallbackChain& operator=(const TFallbackChain&) = delete;

    // The file at the index, opened first when it is a stand-in not needed before.
    TSizedFontFile& File(std::size_t index);
    // Files below this index are the face's own and its stand-ins.
    std::size_t StandInEnd() const { return FStandInEnd; }
    // The first file that draws the character, or -1. A control character is not
    // looked for past the stand-ins.
    int FileFor(char32_t code);
    // The fallback file for a character the own file and the stand-ins lack, or -1
    // when no installed file has it. fontconfig is asked once a character.
    int FallbackFileFor(char32_t code);

private:
    int IndexOfFile(const TFontFile& file);

    std::u16string FRequested;
    TFontStyles FStyle = 0;
    int FEm = 0;
    std::mutex FFilesLock;
    std::vector<std::shared_ptr<TSizedFontFile>> FFiles;
    std::map<std::string, int> FIndexOfFile; // the fallbacks, by path and face index
    std::vector<std::u16string> FStandInFamilies;
    std::size_t FStandInEnd = 1;
    // The fallback chosen for each character asked about (-1: none has it).
    std::mutex FChoicesLock;
    std::unordered_map<char32_t, int> FChoices;
};
