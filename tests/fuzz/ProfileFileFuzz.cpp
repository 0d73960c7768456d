#include "platform/base/ProfileText.h"
#include "platform/base/ShiftJis.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

// An INI file in code page 932 is edited the way the program edits its settings file,
// and after every change each key that was not touched must read as it did before.
//
// Input: the bytes up to the last NUL are the file (all of the input when there is no
// NUL); what follows the last NUL is a script in UTF-8 of at most MaxSteps steps,
// separated by U+001E, each a letter and fields separated by U+001F:
//   W section key value [bufferSize]   write, then read back with that buffer size
//   w n value [bufferSize]             the same on the n-th pair known (found or written)
//   D section key / d n                delete a key
//   E section / e n                    erase a section (the n-th header found)
// Without a script a few writes are made on the pairs found in the file and on a new
// section, so that plain INI files in the corpus are edited too.
//
// After each step:
// - a refused write is one whose names or value hold CR, LF or NUL or a character
//   CP932 cannot hold, or whose names would not read back as written, and it changes
//   no byte; every other write is accepted;
// - every (section, key) pair found in the original file or written since that the
//   step did not name reads as before, present or missing;
// - a written value reads back as the reading rules make it: outer blanks trimmed,
//   one pair of matching outer quotes removed, cut to bufferSize - 1 bytes without
//   splitting a double-byte character;
// - the bytes, parsed anew, read exactly as the edited text does.
// The file's bytes also survive parsing unchanged.

namespace {

constexpr int MaxSteps = 12;
constexpr int MaxPairs = 64;
constexpr int DefaultBufferSize = 1024;

// No CP932 byte decodes to this, so a read that returns it found no key.
const QString Missing = QStringLiteral(u"\u00e9 missing");

struct TPair {
    QString Section;
    QString Key;
};

// The oracle trims with patterns rather than the loops the file reader uses.
QString TrimBlanks(const QString& text)
{
    static const QRegularExpression outerBlanks(QStringLiteral("\\A[ \\t\\x0B]+|[ \\t\\x0B]+\\z"));
    return QString(text).remove(outerBlanks);
}

QString TrimSpaces(const QString& text)
{
    static const QRegularExpression outerSpaces(QStringLiteral("\\A +| +\\z"));
    return QString(text).remove(outerSpaces);
}

bool SameName(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a[i].unicode();
        char16_t y = b[i].unicode();
        if (x >= u'a' && x <= u'z')
            x = char16_t(x - 32);
        if (y >= u'a' && y <= u'z')
            y = char16_t(y - 32);
        if (x != y)
            return false;
    }
    return true;
}

bool SamePair(const TPair& a, const TPair& b)
{
    return SameName(TrimSpaces(a.Section), TrimSpaces(b.Section))
        && SameName(TrimSpaces(a.Key), TrimSpaces(b.Key));
}

// Section and key names as the file defines them, in file order: a header opens a
// section up to its last "]", a line with "=" (not a comment) is a key of the open
// section. Only a list of names to ask for; the reads decide what they mean.
std::vector<TPair> PairsOf(const QByteArray& bytes, QStringList* sections)
{
    std::vector<TPair> pairs;
    QString section;
    bool inSection = false;
    // CR, LF and CR LF each end a line; the empty pieces between CR and LF are no names.
    for (const QByteArray& raw : QByteArray(bytes).replace('\r', '\n').split('\n')) {
        const QString line = TrimBlanks(DecodeShiftJis(raw));
        if (line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.lastIndexOf(u']');
            section = TrimBlanks(close > 0 ? line.mid(1, close - 1) : line.mid(1));
            inSection = true;
            sections->append(section);
        } else if (const qsizetype equals = line.indexOf(u'='); equals >= 0 && inSection) {
            if (pairs.size() < MaxPairs)
                pairs.push_back({section, TrimBlanks(line.left(equals))});
        }
    }
    return pairs;
}

std::vector<QString> ReadAll(const TProfileText& text, const std::vector<TPair>& pairs)
{
    std::vector<QString> values;
    values.reserve(pairs.size());
    for (const TPair& pair : pairs)
        values.push_back(text.Read(pair.Section, pair.Key, Missing, DefaultBufferSize));
    return values;
}

// A field Write must refuse: it would break the line structure or lose characters.
bool Unwritable(const QString& field)
{
    return field.contains(u'\r') || field.contains(u'\n') || field.contains(QChar(0))
        || !CanEncodeShiftJis(field);
}

// Names a line cannot carry so that they read back: blanks other than spaces at either
// end (the file trims them, callers' names keep them), and a key that holds "=" or
// starts like a comment or a header. Written, they could also change what other names
// read, so Write must refuse them.
bool NameReadsBack(const QString& section, const QString& key)
{
    const QString s = TrimSpaces(section);
    const QString k = TrimSpaces(key);
    return TrimBlanks(s) == s && TrimBlanks(k) == k && !k.contains(u'=') && !k.startsWith(u';')
        && !k.startsWith(u'[');
}

int ShiftJisBytes(QChar ch)
{
    const auto bytes = TryEncodeShiftJis(QString(ch));
    return bytes ? int(bytes->size()) : 2;
}

QString ExpectedRead(const QString& written, int bufferSize)
{
    QString value = TrimBlanks(written);
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
        && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    QString cut;
    int bytes = 0;
    for (const QChar ch : value) {
        bytes += ShiftJisBytes(ch);
        if (bytes > bufferSize - 1)
            break;
        cut += ch;
    }
    return cut;
}

class TChecker {
public:
    explicit TChecker(const QByteArray& file) : FText(file)
    {
        if (FText.Bytes() != file)
            std::abort();
        FPairs = PairsOf(file, &FSections);
        FBefore = ReadAll(FText, FPairs);
    }

    const std::vector<TPair>& Pairs() const { return FPairs; }
    const QStringList& Sections() const { return FSections; }

    void Write(const QString& section, const QString& key, const QString& value, int bufferSize)
    {
        const QByteArray bytes = FText.Bytes();
        const bool refused = Unwritable(TrimSpaces(section)) || Unwritable(TrimSpaces(key))
            || Unwritable(value) || !NameReadsBack(section, key);
        if (FText.Write(section, key, value) == refused)
            std::abort();
        if (refused) {
            if (FText.Bytes() != bytes)
                std::abort();
            return;
        }
        const TPair written{section, key};
        CheckOthers([&](const TPair& pair) { return !SamePair(pair, written); });
        if (FText.Read(section, key, Missing, bufferSize) != ExpectedRead(value, bufferSize))
            std::abort();
        // From now on the written key is one of those that must keep their value.
        const auto same = [&](const TPair& pair) { return SamePair(pair, written); };
        if (std::none_of(FPairs.begin(), FPairs.end(), same)) {
            FPairs.push_back(written);
            FBefore.push_back(FText.Read(section, key, Missing, DefaultBufferSize));
        }
        CheckReparse();
    }

    void DeleteKey(const QString& section, const QString& key)
    {
        FText.DeleteKey(section, key);
        const TPair deleted{section, key};
        CheckOthers([&](const TPair& pair) { return !SamePair(pair, deleted); });
        CheckReparse();
    }

    void EraseSection(const QString& section)
    {
        FText.EraseSection(section);
        CheckOthers([&](const TPair& pair) {
            return !SameName(TrimSpaces(pair.Section), TrimSpaces(section));
        });
        CheckReparse();
    }

private:
    TProfileText FText;
    std::vector<TPair> FPairs;     // found in the file, then also those written
    QStringList FSections;         // the section headers found in the file
    std::vector<QString> FBefore;  // what each pair of FPairs reads now

    // Pairs the step left alone read as before; the others are read anew, since a
    // deleted key may uncover a later duplicate.
    template <typename TUntouched>
    void CheckOthers(TUntouched untouched)
    {
        const std::vector<QString> after = ReadAll(FText, FPairs);
        for (std::size_t i = 0; i < FPairs.size(); ++i) {
            if (untouched(FPairs[i]) && after[i] != FBefore[i])
                std::abort();
        }
        FBefore = after;
    }

    void CheckReparse() const
    {
        const TProfileText reparsed(FText.Bytes());
        if (reparsed.Bytes() != FText.Bytes())
            std::abort();
        if (ReadAll(reparsed, FPairs) != ReadAll(FText, FPairs))
            std::abort();
    }
};

int BufferSizeOf(const QStringList& fields, qsizetype index)
{
    if (index >= fields.size())
        return DefaultBufferSize;
    const int size = int(fields[index].toUInt() % 2048);
    return size > 0 ? size : DefaultBufferSize;
}

void RunStep(TChecker& checker, const QString& step)
{
    if (step.isEmpty())
        return;
    const QChar operation = step.front();
    const QStringList fields = step.mid(1).split(QChar(0x1F));
    auto field = [&](qsizetype index) { return index < fields.size() ? fields[index] : QString(); };
    // A copy: a write may add to the checker's pairs while it reads these names.
    std::optional<TPair> chosen;
    if (!checker.Pairs().empty())
        chosen = checker.Pairs()[field(0).toUInt() % checker.Pairs().size()];
    const QStringList& sections = checker.Sections();

    switch (operation.unicode()) {
    case u'W':
        checker.Write(field(0), field(1), field(2), BufferSizeOf(fields, 3));
        break;
    case u'w':
        if (chosen)
            checker.Write(chosen->Section, chosen->Key, field(1), BufferSizeOf(fields, 2));
        break;
    case u'D':
        checker.DeleteKey(field(0), field(1));
        break;
    case u'd':
        if (chosen)
            checker.DeleteKey(chosen->Section, chosen->Key);
        break;
    case u'E':
        checker.EraseSection(field(0));
        break;
    case u'e':
        if (!sections.isEmpty())
            checker.EraseSection(sections[field(0).toUInt() % sections.size()]);
        break;
    default:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype lastNul = input.lastIndexOf('\0');
    TChecker checker(lastNul < 0 ? input : input.left(lastNul));

    if (lastNul < 0) {
        const std::size_t count = std::min<std::size_t>(checker.Pairs().size(), 3);
        for (std::size_t i = 0; i < count; ++i) {
            const TPair pair = checker.Pairs()[i];
            checker.Write(pair.Section, pair.Key, QStringLiteral(" \"値%1\" ").arg(i), DefaultBufferSize);
        }
        checker.Write(QStringLiteral("Fuzz"), QStringLiteral("Key"), QStringLiteral("value"), DefaultBufferSize);
        return 0;
    }

    const QStringList steps = QString::fromUtf8(input.mid(lastNul + 1)).split(QChar(0x1E));
    for (qsizetype i = 0; i < steps.size() && i < MaxSteps; ++i)
        RunStep(checker, steps[i]);
    return 0;
}
