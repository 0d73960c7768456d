#include "platform/base/MessageCatalog.h"

#include <cstring>
#include <fstream>
#include <iterator>

// glibc's gettext chooses its catalogue through the C library's locale, which only
// works where that locale has been generated; the program chooses its language by its
// own rule, so it reads the compiled catalogue itself.

namespace {

constexpr std::uint32_t Magic = 0x950412DE;
constexpr std::uint32_t SwappedMagic = 0xDE120495;

std::uint32_t Swap(std::uint32_t value)
{
    return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

} // namespace

bool TMessageCatalog::Load(const std::filesystem::path& path)
{
    *this = TMessageCatalog();
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    FData.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (FData.size() < 20)
        return (*this = TMessageCatalog(), false);
    std::uint32_t magic;
    std::memcpy(&magic, FData.data(), 4);
    FSwapped = magic == SwappedMagic;
    if (magic != Magic && !FSwapped)
        return (*this = TMessageCatalog(), false);
    FCount = Word(8);
    FSources = Word(12);
    FTranslations = Word(16);
    if (!Valid())
        return (*this = TMessageCatalog(), false);
    return true;
}

std::uint32_t TMessageCatalog::Word(std::uint32_t offset) const
{
    std::uint32_t value;
    std::memcpy(&value, FData.data() + offset, 4);
    return FSwapped ? Swap(value) : value;
}

// Every table and every string it points to lies inside the file, strings ending in NUL.
bool TMessageCatalog::Valid() const
{
    const std::uint64_t size = FData.size();
    for (const std::uint32_t table : {FSources, FTranslations}) {
        if (table % 4 != 0 || table + std::uint64_t(FCount) * 8 > size)
            return false;
        for (std::uint32_t i = 0; i < FCount; ++i) {
            const std::uint64_t length = Word(table + i * 8);
            const std::uint64_t offset = Word(table + i * 8 + 4);
            if (offset + length >= size || FData[offset + length] != '\0')
                return false;
        }
    }
    for (std::uint32_t i = 1; i < FCount; ++i)
        if (!(Entry(FSources, i - 1) < Entry(FSources, i)))
            return false;
    return true;
}

std::string_view TMessageCatalog::Entry(std::uint32_t table, std::uint32_t index) const
{
    return std::string_view(FData.data() + Word(table + index * 8 + 4), Word(table + index * 8));
}

const char* TMessageCatalog::Find(std::string_view source) const
{
    // The empty source is the catalogue's header, never a text's translation.
    if (source.empty())
        return nullptr;
    std::uint32_t low = 0;
    std::uint32_t high = FCount;
    while (low < high) {
        const std::uint32_t middle = low + (high - low) / 2;
        const std::string_view entry = Entry(FSources, middle);
        if (entry == source) {
            const std::string_view translation = Entry(FTranslations, middle);
            return translation.empty() ? nullptr : translation.data();
        }
        if (entry < source)
            low = middle + 1;
        else
            high = middle;
    }
    return nullptr;
}
