#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Integers written the way the settings files and the old user interface wrote
// them: leading spaces, an optional sign, then decimal digits or "$" and hex
// digits. Nothing may follow the digits, not even a space.

// The value of text, or nothing when text is not such an integer or does not fit
// 32 bits. Hex may use all 32 bits ("$FFFFFFFF" is -1); decimal must lie within
// -2147483648..2147483647.
std::optional<std::int32_t> TryStrToInt(std::u16string_view text);

// The value of text, or defaultValue when text is not an integer.
std::int32_t StrToIntDef(std::u16string_view text, std::int32_t defaultValue);

// The value of text; throws EConvertError when text is not an integer.
std::int32_t StrToInt(std::u16string_view text);

// The value of a digit of base 10 or 16 (hex letters in either case), or -1 for a
// character that is no digit of that base.
int DigitValue(char16_t ch, int base);

// "0x" and eight upper-case hex digits, as the settings file writes colours and hex values.
std::u16string HexText(std::uint32_t value);
