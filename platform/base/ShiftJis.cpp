#include "platform/base/ShiftJis.h"

#include "platform/base/ShiftJisTable.h"

// The tables hold only the double-byte codes, read from ICU's "Shift_JIS" converter
// while the program is built; ASCII and half-width katakana are fixed ranges and
// handled here. The converter itself is unfit for exact work: it swaps the control
// codes 1A, 1C and 7F (an IBM habit Windows does not share), decodes bad bytes to
// U+001A and drops a lone surrogate without reporting it.

namespace {

constexpr char16_t ReplacementChar = 0xFFFD;
constexpr unsigned char LastKanaByte = 0xDF;

bool IsLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool IsTrailByte(unsigned char b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// The character of a well-formed pair, 0 when the code is unassigned.
char16_t CharacterOf(unsigned char lead, unsigned char trail)
{
    const int row = lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
    return ShiftJisCharacters[row][trail - 0x40];
}

// The double-byte code of a character, 0 when it has none.
unsigned short CodeOf(char16_t ch)
{
    return ShiftJisCodes[ShiftJisCodePageOf[ch >> 8]][ch & 0xFF];
}

} // namespace

std::optional<std::string> TryEncodeShiftJis(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t ch : text) {
        if (ch < 0x80) {
            bytes.push_back(char(ch));
        } else if (IsHalfWidthKana(ch)) {
            bytes.push_back(char(ch - FirstHalfWidthKana + FirstKanaByte));
        } else if (const unsigned short code = CodeOf(ch)) {
            bytes.push_back(char(code >> 8));
            bytes.push_back(char(code & 0xFF));
        } else {
            return std::nullopt;
        }
    }
    return bytes;
}

std::u16string DecodeShiftJis(std::string_view bytes)
{
    std::u16string text;
    text.reserve(bytes.size());
    const std::size_t size = bytes.size();
    for (std::size_t i = 0; i < size;) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            text.push_back(b);
            ++i;
        } else if (b >= FirstKanaByte && b <= LastKanaByte) {
            text.push_back(char16_t(b - FirstKanaByte + FirstHalfWidthKana));
            ++i;
        } else if (IsLeadByte(b) && i + 1 < size && IsTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
            // A well-formed but unassigned pair is one bad character, not two.
            const char16_t ch = CharacterOf(b, static_cast<unsigned char>(bytes[i + 1]));
            text.push_back(ch != 0 ? ch : ReplacementChar);
            i += 2;
        } else {
            // A stray byte, or a lead byte whose partner cannot follow it: the next
            // byte starts a character of its own.
            text.push_back(ReplacementChar);
            ++i;
        }
    }
    return text;
}

bool CanEncodeShiftJis(std::u16string_view text)
{
    return TryEncodeShiftJis(text).has_value();
}
