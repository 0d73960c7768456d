#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// One language's translations as GNU msgfmt compiles them (a .mo file): the source
// texts sorted, each with its translation. Plural forms are not used by this program.
class TMessageCatalog {
public:
    TMessageCatalog() = default;
    // Reads the file at path; an unreadable or malformed file leaves the catalogue
    // empty and returns false.
    bool Load(const std::filesystem::path& path);
    // The translation of source (a context, if any, joined to it by "\x04" as msgfmt
    // stores it), or nullptr when the catalogue has none or it is empty.
    const char* Find(std::string_view source) const;
    bool Empty() const { return FCount == 0; }

private:
    std::string FData;
    std::uint32_t FCount = 0;
    std::uint32_t FSources = 0;
    std::uint32_t FTranslations = 0;
    bool FSwapped = false;

    std::uint32_t Word(std::uint32_t offset) const;
    bool Valid() const;
    std::string_view Entry(std::uint32_t table, std::uint32_t index) const;
};
