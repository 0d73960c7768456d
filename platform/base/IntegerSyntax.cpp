#include "platform/base/IntegerSyntax.h"

#include "platform/base/Exception.h"
#include "platform/base/UiLanguage.h"
#include "platform/base/UnicodeText.h"

int DigitValue(char16_t c, int base)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (base == 16 && c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (base == 16 && c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

namespace {

// Accumulates the digits of digits in base into a magnitude no larger than limit.
// Leading zeros never overflow because the magnitude stays 0 while they are read.
std::optional<std::uint64_t> ReadMagnitude(std::u16string_view digits, int base, std::uint64_t limit)
{
    if (digits.empty())
        return std::nullopt;
    std::uint64_t magnitude = 0;
    for (const char16_t ch : digits) {
        const int digit = DigitValue(ch, base);
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return std::nullopt;
    }
    return magnitude;
}

} // namespace

std::optional<std::int32_t> TryStrToInt(std::u16string_view text)
{
    std::u16string_view rest = text;
    while (!rest.empty() && rest.front() == u' ')
        rest.remove_prefix(1);

    bool negative = false;
    if (!rest.empty() && (rest.front() == u'+' || rest.front() == u'-')) {
        negative = rest.front() == u'-';
        rest.remove_prefix(1);
    }

    if (!rest.empty() && rest.front() == u'$') {
        // Hex spells the 32-bit pattern, so the sign negates it modulo 2^32.
        const auto magnitude = ReadMagnitude(rest.substr(1), 16, 0xFFFFFFFFu);
        if (!magnitude)
            return std::nullopt;
        const std::uint32_t bits = std::uint32_t(*magnitude);
        return std::int32_t(negative ? 0u - bits : bits);
    }

    const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
    const auto magnitude = ReadMagnitude(rest, 10, limit);
    if (!magnitude)
        return std::nullopt;
    return std::int32_t(negative ? -std::int64_t(*magnitude) : std::int64_t(*magnitude));
}

std::int32_t StrToIntDef(std::u16string_view text, std::int32_t defaultValue)
{
    return TryStrToInt(text).value_or(defaultValue);
}

std::int32_t StrToInt(std::u16string_view text)
{
    const auto value = TryStrToInt(text);
    if (!value)
        throw EConvertError(Format(TrText("'%1' は整数ではありません"), {text}));
    return *value;
}

std::u16string HexText(std::uint32_t value)
{
    return u"0x" + HexDigits(value, 8);
}
