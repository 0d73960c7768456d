#include "platform/base/ProfileText.h"

#include "platform/base/AsciiCase.h"
#include "platform/base/ShiftJis.h"

#include <algorithm>

namespace {

const QByteArray CrLf("\r\n");

bool IsBlank(QChar ch)
{
    return ch == u' ' || ch == u'\t' || ch == u'\v';
}

QStringView TrimBlanks(QStringView text)
{
    while (!text.isEmpty() && IsBlank(text.front()))
        text = text.mid(1);
    while (!text.isEmpty() && IsBlank(text.back()))
        text.chop(1);
    return text;
}

// Names passed by a caller lose their outer spaces, but not tabs.
QString TrimSpaces(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}

QString TrimTrailingSpaces(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    return text.left(end);
}

QString RemoveQuotes(const QString& value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
        && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

// The bytes a character takes in CP932: one for ASCII and half-width katakana,
// two for the rest. A pair of surrogates, which CP932 cannot hold anyway, is
// counted as four so that it is kept or dropped whole.
qsizetype ShiftJisLength(QStringView text, qsizetype index, qsizetype* units)
{
    const char16_t ch = text[index].unicode();
    *units = 1;
    if (ch < 0x80 || IsHalfWidthKana(ch))
        return 1;
    if (QChar::isHighSurrogate(ch) && index + 1 < text.size()
        && text[index + 1].isLowSurrogate()) {
        *units = 2;
        return 4;
    }
    return 2;
}

} // namespace

QString CutToProfileBuffer(const QString& text, int bufferSize)
{
    if (bufferSize <= 0)
        return QString();
    const qsizetype maxBytes = bufferSize - 1;
    qsizetype bytes = 0;
    qsizetype index = 0;
    while (index < text.size()) {
        qsizetype units = 0;
        const qsizetype length = ShiftJisLength(text, index, &units);
        if (bytes + length > maxBytes)
            break;
        bytes += length;
        index += units;
    }
    return text.left(index);
}

QString StoredProfileValue(const QString& value)
{
    return TrimBlanks(value).toString();
}

namespace {

// The CP932 bytes of a name or value to be written, or nothing when the text
// would break the line structure or cannot be held without substitution.
bool BreaksLine(QStringView text)
{
    return text.contains(u'\r') || text.contains(u'\n') || text.contains(QChar(0));
}

std::optional<QByteArray> EncodeField(const QString& text)
{
    if (BreaksLine(text))
        return std::nullopt;
    return TryEncodeShiftJis(text);
}

} // namespace

bool ProfileHolds(QStringView text)
{
    return !BreaksLine(text) && CanEncodeShiftJis(text.toString());
}

// Error policy: every byte sequence is a valid document and parsing never fails.
// Bytes that are not CP932 decode to U+FFFD for matching and stay untouched in
// the file; a line that is neither a header, a comment (";") nor "key=value" is
// kept and ignored; lines before the first header belong to no section; a header
// without "]" still opens a section. Unlike Windows, which ends a section name at
// the first "]", the name runs to the last "]" of the line, so that a name such
// as "a]b" reads back as written.
TProfileText::TProfileText(const QByteArray& bytes)
{
    // CR, LF and CR LF each end a line, as the platform reads the file.
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        qsizetype next = end;
        if (next < bytes.size())
            next += bytes[next] == '\r' && next + 1 < bytes.size() && bytes[next + 1] == '\n' ? 2 : 1;
        FLines.push_back(ParseLine(bytes.mid(start, end - start), bytes.mid(end, next - end)));
        start = next;
    }
    Reindex();
}

// CR and LF bytes never occur inside a double-byte character, and neither do
// "=" and ";", so decoding first and then looking for them is exact. "[" and "]"
// can be trail bytes, which is why the line is decoded before anything is split.
TProfileText::TLine TProfileText::ParseLine(const QByteArray& raw, const QByteArray& ending)
{
    TLine line;
    line.Raw = raw;
    line.Ending = ending;
    const QString decoded = DecodeShiftJis(raw);
    const QStringView text = TrimBlanks(decoded);
    if (text.startsWith(u';')) {
        line.Kind = lkComment;
    } else if (text.startsWith(u'[')) {
        QStringView name = text.mid(1);
        const qsizetype close = name.lastIndexOf(u']');
        if (close >= 0)
            name.truncate(close);
        line.Kind = lkSection;
        line.Name = TrimBlanks(name).toString();
    } else if (const qsizetype equals = text.indexOf(u'='); equals >= 0) {
        line.Kind = lkKey;
        line.Name = TrimBlanks(text.left(equals)).toString();
        line.Value = TrimBlanks(text.mid(equals + 1)).toString();
    }
    return line;
}

std::optional<std::size_t> TProfileText::FindSection(const QString& name) const
{
    const auto found = FSections.constFind(AsciiUpper(name));
    if (found == FSections.constEnd())
        return std::nullopt;
    return *found;
}

void TProfileText::Reindex()
{
    FSections.clear();
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        // Of sections of one name the first counts.
        if (FLines[i].Kind == lkSection && !FSections.contains(AsciiUpper(FLines[i].Name)))
            FSections.insert(AsciiUpper(FLines[i].Name), i);
    }
}

std::size_t TProfileText::SectionEnd(std::size_t header) const
{
    std::size_t i = header + 1;
    while (i < FLines.size() && FLines[i].Kind != lkSection)
        ++i;
    return i;
}

std::optional<std::size_t> TProfileText::FindKey(std::size_t header, const QString& name) const
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
void TProfileText::InsertLine(std::size_t position, const QByteArray& raw)
{
    if (position > 0 && FLines[position - 1].Ending.isEmpty())
        FLines[position - 1].Ending = CrLf;
    FLines.insert(FLines.begin() + std::ptrdiff_t(position), ParseLine(raw, CrLf));
    Reindex();
}

QString TProfileText::Read(const QString& section, const QString& key,
                           const QString& defaultValue, int bufferSize) const
{
    const QString value = Value(section, key).value_or(TrimTrailingSpaces(defaultValue));
    return CutToProfileBuffer(RemoveQuotes(value), bufferSize);
}

std::optional<QString> TProfileText::Value(const QString& section, const QString& key) const
{
    if (const auto header = FindSection(TrimSpaces(section))) {
        if (const auto line = FindKey(*header, TrimSpaces(key)))
            return FLines[*line].Value;
    }
    return std::nullopt;
}

bool TProfileText::Write(const QString& section, const QString& key, const QString& value)
{
    const QString sectionName = TrimSpaces(section);
    const QString keyName = TrimSpaces(key);
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
        const QByteArray raw = old.Raw.left(old.Raw.indexOf('=') + 1) + *valueBytes;
        old = ParseLine(raw, old.Ending);
    } else {
        InsertLine(LastEntryLine(*header) + 1, *keyBytes + '=' + *valueBytes);
    }
    return true;
}

void TProfileText::DeleteKey(const QString& section, const QString& key)
{
    if (const auto header = FindSection(TrimSpaces(section))) {
        if (const auto line = FindKey(*header, TrimSpaces(key))) {
            FLines.erase(FLines.begin() + std::ptrdiff_t(*line));
            Reindex();
        }
    }
}

void TProfileText::EraseSection(const QString& section)
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

QByteArray TProfileText::Bytes() const
{
    QByteArray bytes;
    for (const TLine& line : FLines)
        bytes += line.Raw + line.Ending;
    return bytes;
}
