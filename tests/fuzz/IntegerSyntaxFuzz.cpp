#include "platform/base/Exception.h"
#include "platform/base/IntegerSyntax.h"
#include "platform/base/UnicodeText.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

// Checks TryStrToInt, StrToIntDef and StrToInt against a reference reader of the same
// syntax. The reference works differently on purpose: it cuts the text into its parts,
// decides the range by the number of significant digits and by comparing digit strings,
// and only then converts with the C library, so a shared mistake is unlikely.

namespace {

bool IsDecimalDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsHexDigit(char16_t c)
{
    return IsDecimalDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// The digits without leading zeros, "0" for all zeros; ASCII only by construction.
std::string Significant(std::u16string_view digits)
{
    std::string kept;
    for (const char16_t ch : digits) {
        if (kept.empty() && ch == u'0')
            continue;
        kept += char(ch);
    }
    return kept.empty() ? std::string("0") : kept;
}

// True when the decimal digit string a (no leading zeros) is at most b (no leading zeros).
bool NotGreater(const std::string& a, const std::string& b)
{
    return a.size() != b.size() ? a.size() < b.size() : a <= b;
}

std::optional<std::int32_t> ReferenceValue(std::u16string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && text[at] == u' ')
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
        negative = text[at] == u'-';
        ++at;
    }
    const bool hex = at < text.size() && text[at] == u'$';
    if (hex)
        ++at;
    const std::u16string_view digits = text.substr(at);
    if (digits.empty())
        return std::nullopt;
    for (const char16_t ch : digits) {
        if (hex ? !IsHexDigit(ch) : !IsDecimalDigit(ch))
            return std::nullopt;
    }
    const std::string significant = Significant(digits);
    if (hex) {
        if (significant.size() > 8)
            return std::nullopt;
        const std::uint32_t bits = std::uint32_t(std::strtoul(significant.c_str(), nullptr, 16));
        // The sign negates the 32-bit pattern: "-$1" is -1, "-$80000000" the minimum.
        const std::uint32_t result = negative ? ~bits + 1u : bits;
        return std::int32_t(result);
    }
    if (!NotGreater(significant, negative ? "2147483648" : "2147483647"))
        return std::nullopt;
    const long long magnitude = std::strtoll(significant.c_str(), nullptr, 10);
    return std::int32_t(negative ? -magnitude : magnitude);
}

void Check(std::u16string_view text, std::int32_t defaultValue)
{
    const std::optional<std::int32_t> expected = ReferenceValue(text);
    if (TryStrToInt(text) != expected)
        std::abort();
    if (StrToIntDef(text, defaultValue) != expected.value_or(defaultValue))
        std::abort();
    try {
        const std::int32_t value = StrToInt(text);
        if (!expected || value != *expected)
            std::abort();
    } catch (const EConvertError&) {
        if (expected)
            std::abort();
    }
}

} // namespace

// The bytes are read twice: as Latin-1, where the fuzzer writes digits and signs
// directly and meets the characters 0x80..0xFF (superscript digits, no-break space),
// and as UTF-16, which brings in every other digit of Unicode (full-width, Arabic).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    std::int32_t defaultValue = 0x5A5A5A5A;
    if (size >= 4)
        defaultValue = std::int32_t(std::uint32_t(data[0]) | std::uint32_t(data[1]) << 8
                                    | std::uint32_t(data[2]) << 16 | std::uint32_t(data[3]) << 24);
    Check(Latin1ToText(std::string_view(bytes, size)), defaultValue);
    std::u16string units(size / 2, u'\0');
    std::memcpy(units.data(), data, units.size() * sizeof(char16_t));
    Check(units, ~defaultValue);
    return 0;
}
