#pragma once

#include "platform/raster/FontCache.h"
#include "platform/raster/FontFile.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>


// Finds font files through fontconfig, with the Windows names the program meets
// mapped to the faces that stand in for them. Answers are kept in a small per-user
// cache file, so that a start whose fonts and configuration have not changed does not
// pay for fontconfig reading its whole configuration. The cache records the
// modification times of fontconfig's configuration files and font folders and is
// rebuilt when any of them changes; an answer whose file has gone is never used. A
// cache that cannot be read or written only costs the time of asking fontconfig.
// Thread-safe.
class TFontLocator {
public:
    // cachePath empty: no cache file, every first question goes to fontconfig.
    explicit TFontLocator(std::filesystem::path cachePath);

    // The program's locator, caching in $XDG_CACHE_HOME/vezodev (~/.cache when unset).
    static TFontLocator& Shared();

    TFontFile Find(std::u16string_view family, bool bold, bool italic);

    // Windows faces with no fontconfig alias on Debian, the Japanese UI faces, and the
    // faces that stand in for them. The Latin faces (Times New Roman, Arial, Courier
    // New) have metric-compatible aliases in fontconfig's own configuration.
    static const std::vector<std::pair<std::u16string, std::u16string>>& Substitutions();
    // The face that stands in for a Windows family, or the family itself.
    static std::u16string Substitute(std::u16string_view family);

private:
    void Load();
    void Save() const;
    void TakeStamps();
    TFontFile Ask(std::u16string_view family, bool bold, bool italic);

    std::filesystem::path FCachePath;
    std::mutex FLock;
    bool FLoaded = false;
    bool FStampsTaken = false; // the stamps describe fontconfig as this process found it
    std::vector<TFontCache::TStamp> FStamps;
    std::map<std::string, TFontFile> FAnswers;
};
