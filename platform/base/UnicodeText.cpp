#include "platform/base/UnicodeText.h"

namespace {

constexpr char16_t ReplacementChar = 0xFFFD;

bool IsContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

bool IsSurrogate(char32_t code)
{
    return code >= 0xD800 && code <= 0xDFFF;
}

void AppendCodePoint(std::u16string& text, char32_t code)
{
    if (code < 0x10000) {
        text.push_back(char16_t(code));
        return;
    }
    code -= 0x10000;
    text.push_back(char16_t(0xD800 + (code >> 10)));
    text.push_back(char16_t(0xDC00 + (code & 0x3FF)));
}

// The code point of the sequence that starts with lead at utf8[index - 1], with index
// moved past it; nothing (index unmoved) when the sequence is not complete and valid.
bool ReadSequence(std::string_view utf8, std::size_t& index, unsigned char lead, char32_t& code)
{
    std::size_t length;
    char32_t smallest;
    if (lead < 0xC2)
        return false;
    if (lead < 0xE0) {
        length = 2;
        smallest = 0x80;
        code = lead & 0x1F;
    } else if (lead < 0xF0) {
        length = 3;
        smallest = 0x800;
        code = lead & 0x0F;
    } else if (lead < 0xF5) {
        length = 4;
        smallest = 0x10000;
        code = lead & 0x07;
    } else {
        return false;
    }
    if (utf8.size() - index < length - 1)
        return false;
    for (std::size_t i = 0; i < length - 1; ++i) {
        const unsigned char b = static_cast<unsigned char>(utf8[index + i]);
        if (!IsContinuation(b))
            return false;
        code = (code << 6) | (b & 0x3F);
    }
    if (code < smallest || IsSurrogate(code) || code > 0x10FFFF)
        return false;
    index += length - 1;
    return true;
}

void AppendUtf8(std::string& utf8, char32_t code)
{
    if (code < 0x80) {
        utf8.push_back(char(code));
    } else if (code < 0x800) {
        utf8.push_back(char(0xC0 | (code >> 6)));
        utf8.push_back(char(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        utf8.push_back(char(0xE0 | (code >> 12)));
        utf8.push_back(char(0x80 | ((code >> 6) & 0x3F)));
        utf8.push_back(char(0x80 | (code & 0x3F)));
    } else {
        utf8.push_back(char(0xF0 | (code >> 18)));
        utf8.push_back(char(0x80 | ((code >> 12) & 0x3F)));
        utf8.push_back(char(0x80 | ((code >> 6) & 0x3F)));
        utf8.push_back(char(0x80 | (code & 0x3F)));
    }
}

} // namespace

std::u16string Utf8ToText(std::string_view utf8)
{
    std::u16string text;
    text.reserve(utf8.size());
    if (utf8.starts_with("\xEF\xBB\xBF"))
        utf8.remove_prefix(3);
    for (std::size_t index = 0; index < utf8.size();) {
        const unsigned char b = static_cast<unsigned char>(utf8[index++]);
        char32_t code = b;
        if (b >= 0x80 && !ReadSequence(utf8, index, b, code))
            code = ReplacementChar;
        AppendCodePoint(text, code);
    }
    return text;
}

std::string TextToUtf8(std::u16string_view text)
{
    std::string utf8;
    utf8.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00
            && text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (IsSurrogate(code)) {
            code = u'?';
        }
        AppendUtf8(utf8, code);
    }
    return utf8;
}

std::u16string Latin1ToText(std::string_view latin1)
{
    std::u16string text(latin1.size(), u'\0');
    for (std::size_t i = 0; i < latin1.size(); ++i)
        text[i] = static_cast<unsigned char>(latin1[i]);
    return text;
}

std::u16string IntText(std::int64_t value)
{
    // The magnitude is taken unsigned so that the smallest value has one too.
    std::uint64_t magnitude = value < 0 ? 0 - std::uint64_t(value) : std::uint64_t(value);
    std::u16string digits;
    do {
        digits.insert(digits.begin(), char16_t(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        digits.insert(digits.begin(), u'-');
    return digits;
}

std::u16string HexDigits(std::uint64_t value, int width)
{
    static constexpr char16_t Digits[] = u"0123456789ABCDEF";
    std::u16string digits;
    do {
        digits.insert(digits.begin(), Digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    if (int(digits.size()) < width)
        digits.insert(0, std::size_t(width) - digits.size(), u'0');
    return digits;
}

std::u16string Format(std::u16string_view pattern, std::initializer_list<std::u16string_view> arguments)
{
    std::u16string text;
    text.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1] >= u'1' && pattern[i + 1] <= u'9') {
            const std::size_t number = std::size_t(pattern[i + 1] - u'1');
            if (number < arguments.size()) {
                text += arguments.begin()[number];
                ++i;
                continue;
            }
        }
        text.push_back(pattern[i]);
    }
    return text;
}
