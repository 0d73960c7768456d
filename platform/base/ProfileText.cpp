#include "platform/base/ProfileText.h"

#include "platform/base/AsciiCase.h"
#include "platform/base/ShiftJis.h"

#include <algorithm>

namespace {

const std::string CrLf("\r\n");

bool IsBlank(char16_t ch)
{
    return ch == u' ' || ch == u'\t' || ch == u'\v';
}

std::u16string_view TrimBlanks(std::u16string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Names passed by a caller lose their outer spaces, but not tabs.
std::u16string TrimSpaces(std::u16string_view text)
{
    while (!text.empty() && text.front() == u' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    return std::u16string(text);
}

std::u16string_view TrimTrailingSpaces(std::u16string_view text)
{
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    return text;
}

std::u16string_view RemoveQuotes(std::u16string_view value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
        && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool IsHighSurrogate(char16_t ch)
{
    return ch >= 0xD800 && ch <= 0xDBFF;
}

bool IsLowSurrogate(char16_t ch)
{
    return ch >= 0xDC00 && ch <= 0xDFFF;
}

// The bytes a character takes in CP932: one for ASCII and half-width katakana,
// two for the rest. A pair of surrogates, which CP932 cannot hold anyway, is
// counted as four so that it is kept or dropped whole.
std::size_t ShiftJisLength(std::u16string_view text, std::size_t index, std::size_t* units)
{
    const char16_t ch = text[index];
    *units = 1;
    if (ch < 0x80 || IsHalfWidthKana(ch))
        return 1;
    if (IsHighSurrogate(ch) && index + 1 < text.size() && IsLowSurrogate(text[index + 1])) {
        *units = 2;
        return 4;
    }
    return 2;
}

} // namespace

std::u16string CutToProfileBuffer(std::u16string_view text, int bufferSize)
{
    if (bufferSize <= 0)
        return {};
    const std::size_t maxBytes = std::size_t(bufferSize) - 1;
    std::size_t bytes = 0;
    std::size_t index = 0;
    while (index < text.size()) {
        std::size_t units = 0;
        const std::size_t length = ShiftJisLength(text, index, &units);
        if (bytes + length > maxBytes)
            break;
        bytes += length;
        index += units;
    }
    return std::u16string(text.substr(0, index));
}

std::u16string StoredProfileValue(std::u16string_view value)
{
    return std::u16string(TrimBlanks(value));
}

namespace {

// The CP932 bytes of a name or value to be written, or nothing when the text
// would break the line structure or cannot be held without substitution.
bool BreaksLine(std::u16string_view text)
{
    return text.find_first_of(std::u16string_view(u"\r\n\0", 3)) != std::u16string_view::npos;
}

std::optional<std::string> EncodeField(std::u16string_view text)
{
    if (BreaksLine(text))
        return std::nullopt;
    return TryEncodeShiftJis(text);
}

} // namespace

bool ProfileHolds(std::u16string_view text)
{
    return !BreaksLine(text) && CanEncodeShiftJis(text);
}

// Error policy: every byte sequence is a valid document and parsing never fails.
// Bytes that are not CP932 decode to U+FFFD for matching and stay untouched in
// the file; a line that is neither a header, a comment (";") nor "key=value" is
// kept and ignored; lines before the first header belong to no section; a header
// without "]" still opens a section. Unlike Windows, which ends a section name at
// the first "]", the name runs to the last "]" of the line, so that a name such
// as "a]b" reads back as written.
TProfileText::TProfileText(std::string_view bytes)
{
    // CR, LF and CR LF each end a line, as the platform reads the file.
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        std::size_t next = end;
        if (next < bytes.size())
            next += bytes[next] == '\r' && next + 1 < bytes.size() && bytes[next + 1] == '\n' ? 2 : 1;
        FLines.push_back(ParseLine(std::string(bytes.substr(start, end - start)),
                                   std::string(bytes.substr(end, next - end))));
        start = next;
    }
    Reindex();
}

// CR and LF bytes never occur inside a double-byte character, and neither do
// "=" and ";", so decoding first and then looking for them is exact. "[" and "]"
// can be trail bytes, which is why the line is decoded before anything is split.
TProfileText::TLine TProfileText::ParseLine(std::string raw, std::string ending)
{
    TLine line;
    const std::u16string decoded = DecodeShiftJis(raw);
    line.Raw = std::move(raw);
    line.Ending = std::move(ending);
    const std::u16string_view text = TrimBlanks(decoded);
    if (text.starts_with(u';')) {
        line.Kind = lkComment;
    } else if (text.starts_with(u'[')) {
        std::u16string_view name = text.substr(1);
        const std::size_t close = name.rfind(u']');
        if (close != std::u16string_view::npos)
            name = name.substr(0, close);
        line.Kind = lkSection;
        line.Name = TrimBlanks(name);
    } else if (const std::size_t equals = text.find(u'='); equals != std::u16string_view::npos) {
        line.Kind = lkKey;
        line.Name = TrimBlanks(text.substr(0, equals));
        line.Value = TrimBlanks(text.substr(equals + 1));
    }
    return line;
}

std::optional<std::size_t> TProfileText::FindSection(std::u16string_view name) const
{
    const auto found = FSections.find(AsciiUpper(std::u16string(name)));
    if (found == FSections.end())
        return std::nullopt;
    return found->second;
}

void TProfileText::Reindex()
{
    FSections.clear();
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        // Of sections of one name the first counts.
        if (FLines[i].Kind == lkSection)
            FSections.try_emplace(AsciiUpper(FLines[i].Name), i);
    }
}

std::size_t TProfileText::SectionEnd(std::size_t header) const
{
    std::size_t i = header + 1;
    while (i < FLines.size() && FLines[i].Kind != lkSection)
        ++i;
    return i;
}

std::optional<std::size_t> TProfileText::FindKey(std::size_t header, std::u16string_view name) const
{
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        if (FLines[i].Kind == lkKey && SameIgnoringAsciiCase(FLines[i].Name, name))
            return i;
    }
    return std::nullopt;
}

// The last key line of the section, or its header when it has no keys.
std::size_t TProfileText::LastEntryLine(std::size_t header) const
{
    std::size_t last = header;
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        if (FLines[i].Kind == lkKey)
            last = i;
    }
    return last;
}

// Only the file's last line can lack a line break; it gains one before anything
// is placed after it.
void TProfileText::InsertLine(std::size_t position, std::string raw)
{
    if (position > 0 && FLines[position - 1].Ending.empty())
        FLines[position - 1].Ending = CrLf;
    FLines.insert(FLines.begin() + std::ptrdiff_t(position), ParseLine(std::move(raw), CrLf));
    Reindex();
}

std::u16string TProfileText::Read(std::u16string_view section, std::u16string_view key,
                                  std::u16string_view defaultValue, int bufferSize) const
{
    const std::u16string value = Value(section, key).value_or(std::u16string(TrimTrailingSpaces(defaultValue)));
    return CutToProfileBuffer(RemoveQuotes(value), bufferSize);
}

std::optional<std::u16string> TProfileText::Value(std::u16string_view section, std::u16string_view key) const
{
    if (const auto header = FindSection(TrimSpaces(section))) {
        if (const auto line = FindKey(*header, TrimSpaces(key)))
            return FLines[*line].Value;
    }
    return std::nullopt;
}

bool TProfileText::Write(std::u16string_view section, std::u16string_view key, std::u16string_view value)
{
    const std::u16string sectionName = TrimSpaces(section);
    const std::u16string keyName = TrimSpaces(key);
    const auto sectionBytes = EncodeField(sectionName);
    const auto keyBytes = EncodeField(keyName);
    const auto valueBytes = EncodeField(value);
    if (!sectionBytes || !keyBytes || !valueBytes)
        return false;
    // A name the file would give back otherwise could never be found again, and each
    // write would add one more section or key: outer tabs, which the file's names lose
    // and a caller's keep, or a key that would read as a header, a comment or a
    // shorter key ("[", ";", "=").
    const TLine headerLine = ParseLine('[' + *sectionBytes + ']', CrLf);
    const TLine keyLine = ParseLine(*keyBytes + '=' + *valueBytes, CrLf);
    if (headerLine.Kind != lkSection || headerLine.Name != sectionName || keyLine.Kind != lkKey
        || keyLine.Name != keyName)
        return false;

    const auto header = FindSection(sectionName);
    if (!header) {
        InsertLine(FLines.size(), '[' + *sectionBytes + ']');
        InsertLine(FLines.size(), *keyBytes + '=' + *valueBytes);
    } else if (const auto line = FindKey(*header, keyName)) {
        // Everything up to the "=" stays, so the key keeps the file's spelling.
        TLine& old = FLines[*line];
        std::string raw = old.Raw.substr(0, old.Raw.find('=') + 1) + *valueBytes;
        old = ParseLine(std::move(raw), old.Ending);
    } else {
        InsertLine(LastEntryLine(*header) + 1, *keyBytes + '=' + *valueBytes);
    }
    return true;
}

void TProfileText::DeleteKey(std::u16string_view section, std::u16string_view key)
{
    if (const auto header = FindSection(TrimSpaces(section))) {
        if (const auto line = FindKey(*header, TrimSpaces(key))) {
            FLines.erase(FLines.begin() + std::ptrdiff_t(*line));
            Reindex();
        }
    }
}

void TProfileText::EraseSection(std::u16string_view section)
{
    const auto header = FindSection(TrimSpaces(section));
    if (!header)
        return;
    const auto first = FLines.begin() + std::ptrdiff_t(*header);
    const auto last = FLines.begin() + std::ptrdiff_t(SectionEnd(*header));
    const auto kept = std::remove_if(first, last, [](const TLine& line) {
        return line.Kind == lkSection || line.Kind == lkKey;
    });
    FLines.erase(kept, last);
    Reindex();
}

std::string TProfileText::Bytes() const
{
    std::string bytes;
    for (const TLine& line : FLines)
        bytes += line.Raw + line.Ending;
    return bytes;
}
