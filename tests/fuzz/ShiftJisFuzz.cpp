#include "platform/base/ShiftJis.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

// Checks that code page 932 conversion loses nothing it claims to keep:
// - any bytes decode, character by character as CP932 cuts them; every decoded
//   character other than U+FFFD (the mark of a byte that is not a character) came from
//   a code, so it encodes again, and the bytes written decode to the same text;
// - any UTF-16 text that TryEncodeShiftJis accepts decodes back to itself, and the
//   text is accepted exactly when each of its characters is.

namespace {

constexpr char16_t ReplacementChar = 0xFFFD;

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// The text of bytes cut into characters by the rules of CP932 alone: ASCII and
// half-width katakana take one byte, a lead byte followed by a trail byte two, and any
// other byte is one U+FFFD. A pair is decoded on its own, so this also checks that
// decoding a character does not depend on the bytes around it.
std::u16string DecodeByCharacters(std::string_view bytes)
{
    std::u16string text;
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            text += char16_t(b);
            ++i;
        } else if (b >= 0xA1 && b <= 0xDF) {
            text += char16_t(0xFF61 + (b - 0xA1));
            ++i;
        } else if (IsLeadByte(b) && i + 1 < bytes.size() && IsTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
            const std::u16string pair = DecodeShiftJis(bytes.substr(i, 2));
            if (pair.size() != 1)
                std::abort();
            text += pair;
            i += 2;
        } else {
            text += ReplacementChar;
            ++i;
        }
    }
    return text;
}

void CheckDecoding(std::string_view bytes)
{
    const std::u16string decoded = DecodeShiftJis(bytes);
    if (decoded != DecodeByCharacters(bytes))
        std::abort();
    std::u16string characters = decoded;
    std::erase(characters, ReplacementChar);
    const auto encoded = TryEncodeShiftJis(characters);
    // The bytes written may differ from those read where CP932 has two codes for one
    // character (NEC and IBM rows); the text may not.
    if (!encoded || DecodeShiftJis(*encoded) != characters)
        std::abort();
}

void CheckEncoding(std::u16string_view text)
{
    const auto encoded = TryEncodeShiftJis(text);
    if (CanEncodeShiftJis(text) != encoded.has_value())
        std::abort();
    bool eachEncodes = true;
    std::size_t expectedSize = 0;
    for (const char16_t c : text) {
        const auto one = TryEncodeShiftJis(std::u16string_view(&c, 1));
        if (!one) {
            eachEncodes = false;
            continue;
        }
        const bool singleByte = c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F);
        if (one->size() != (singleByte ? 1u : 2u))
            std::abort();
        expectedSize += one->size();
    }
    if (encoded.has_value() != eachEncodes)
        std::abort();
    if (encoded && (encoded->size() != expectedSize || DecodeShiftJis(*encoded) != text))
        std::abort();
}

} // namespace

// The input is used whole as CP932 bytes, and again as UTF-16 code units.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CheckDecoding(std::string_view(reinterpret_cast<const char*>(data), size));
    std::u16string units(size / 2, u'\0');
    std::memcpy(units.data(), data, units.size() * sizeof(char16_t));
    CheckEncoding(units);
    return 0;
}
