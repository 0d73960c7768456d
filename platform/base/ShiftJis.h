#pragma once

#include <optional>
#include <string>
#include <string_view>

// The half-width katakana, which code page 932 holds in one byte each, A1..DF in
// the order of the characters.
constexpr char16_t FirstHalfWidthKana = 0xFF61;
constexpr char16_t LastHalfWidthKana = 0xFF9F;
constexpr unsigned char FirstKanaByte = 0xA1;

constexpr bool IsHalfWidthKana(char32_t code)
{
    return code >= FirstHalfWidthKana && code <= LastHalfWidthKana;
}

// Code page 932 (Shift-JIS as Windows defines it, also called Windows-31J) at
// the edges of the program: files are stored in it, the program works in UTF-16 text.

// The bytes of text, or nothing when any character has no code in CP932.
std::optional<std::string> TryEncodeShiftJis(std::u16string_view text);

// Text of CP932 bytes. Each byte or pair that is not a character becomes U+FFFD.
std::u16string DecodeShiftJis(std::string_view bytes);

bool CanEncodeShiftJis(std::u16string_view text);
