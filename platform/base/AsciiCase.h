#pragma once

#include <string>
#include <string_view>

// Case folding of A-Z and a-z alone, as the settings file's names and the program's
// file names compare and spell them; every other character stays as it is, whatever
// its case in Unicode.
constexpr char16_t AsciiUpper(char16_t ch)
{
    return ch >= u'a' && ch <= u'z' ? char16_t(ch - u'a' + u'A') : ch;
}

constexpr char16_t AsciiLower(char16_t ch)
{
    return ch >= u'A' && ch <= u'Z' ? char16_t(ch - u'A' + u'a') : ch;
}

// The text with a-z made upper case, for keys that compare as the file compares names.
inline std::u16string AsciiUpper(std::u16string text)
{
    for (char16_t& ch : text)
        ch = AsciiUpper(ch);
    return text;
}

// Whether a and b are the same text but for the case of A-Z.
inline bool SameIgnoringAsciiCase(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    }
    return true;
}
