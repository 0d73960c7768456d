#pragma once

#include "composer/LogoComposer.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TProfileText;

// The styles of a settings file as they stood at one moment. The settings store reads
// the whole file anew for every key; a file of 200 styles would then be read 3000 times
// to show them all. Here the file is read and parsed once, and each style is read from
// that text in memory, with the same store and the same rules.
class TStyleSnapshot {
public:
    TStyleSnapshot();
    ~TStyleSnapshot();

    // Reads the settings file (a missing one holds no sections). fence is the store's.
    void Take(const std::filesystem::path& settingsPath, int fence, std::vector<std::u16string> styles);
    bool Taken() const { return FTaken; }
    void Forget() { FTaken = false; }

    // TStoredParams::Read of the style at index over params.
    void Read(int index, std::u16string_view defaultText, TLogoParams& params) const;

private:
    std::shared_ptr<const TProfileText> FText;
    std::filesystem::path FPath;
    std::vector<std::u16string> FStyles;
    int FFence = 0;
    bool FTaken = false;
};
