#include "platform/base/ProfileText.h"
#include "platform/base/ShiftJis.h"
#include "platform/base/UnicodeText.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
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
const std::u16string Missing = u"\u00e9 missing";

struct TPair {
    std::u16string Section;
    std::u16string Key;
};

// The oracle trims by searching for the first and last kept character rather than with
// the loops the file reader uses.
std::u16string TrimSet(std::u16string_view text, std::u16string_view set)
{
    const std::size_t first = text.find_first_not_of(set);
    if (first == std::u16string_view::npos)
        return {};
    return std::u16string(text.substr(first, text.find_last_not_of(set) - first + 1));
}

std::u16string TrimBlanks(std::u16string_view text)
{
    return TrimSet(text, u" \t\v");
}

std::u16string TrimSpaces(std::u16string_view text)
{
    return TrimSet(text, u" ");
}

bool SameName(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i];
        char16_t y = b[i];
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

template <typename TString>
std::vector<TString> Split(const TString& text, typename TString::value_type separator)
{
    std::vector<TString> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == TString::npos ? TString::npos : end - start));
        if (end == TString::npos)
            return parts;
        start = end + 1;
    }
}

// Section and key names as the file defines them, in file order: a header opens a
// section up to its last "]", a line with "=" (not a comment) is a key of the open
// section. Only a list of names to ask for; the reads decide what they mean.
std::vector<TPair> PairsOf(const std::string& bytes, std::vector<std::u16string>* sections)
{
    std::vector<TPair> pairs;
    std::u16string section;
    bool inSection = false;
    // CR, LF and CR LF each end a line; the empty pieces between CR and LF are no names.
    std::string lines = bytes;
    std::replace(lines.begin(), lines.end(), '\r', '\n');
    for (const std::string& raw : Split(lines, '\n')) {
        const std::u16string line = TrimBlanks(DecodeShiftJis(raw));
        if (line.starts_with(u';'))
            continue;
        if (line.starts_with(u'[')) {
            const std::size_t close = line.rfind(u']');
            section = TrimBlanks(close != std::u16string::npos && close > 0 ? line.substr(1, close - 1) : line.substr(1));
            inSection = true;
            sections->push_back(section);
        } else if (const std::size_t equals = line.find(u'='); equals != std::u16string::npos && inSection) {
            if (pairs.size() < MaxPairs)
                pairs.push_back({section, TrimBlanks(line.substr(0, equals))});
        }
    }
    return pairs;
}

std::vector<std::u16string> ReadAll(const TProfileText& text, const std::vector<TPair>& pairs)
{
    std::vector<std::u16string> values;
    values.reserve(pairs.size());
    for (const TPair& pair : pairs)
        values.push_back(text.Read(pair.Section, pair.Key, Missing, DefaultBufferSize));
    return values;
}

// A field Write must refuse: it would break the line structure or lose characters.
bool Unwritable(std::u16string_view field)
{
    return field.find(u'\r') != field.npos || field.find(u'\n') != field.npos || field.find(u'\0') != field.npos
        || !CanEncodeShiftJis(field);
}

// Names a line cannot carry so that they read back: blanks other than spaces at either
// end (the file trims them, callers' names keep them), and a key that holds "=" or
// starts like a comment or a header. Written, they could also change what other names
// read, so Write must refuse them.
bool NameReadsBack(std::u16string_view section, std::u16string_view key)
{
    const std::u16string s = TrimSpaces(section);
    const std::u16string k = TrimSpaces(key);
    return TrimBlanks(s) == s && TrimBlanks(k) == k && k.find(u'=') == k.npos && !k.starts_with(u';')
        && !k.starts_with(u'[');
}

int ShiftJisBytes(char16_t ch)
{
    const auto bytes = TryEncodeShiftJis(std::u16string_view(&ch, 1));
    return bytes ? int(bytes->size()) : 2;
}

std::u16string ExpectedRead(std::u16string_view written, int bufferSize)
{
    std::u16string value = TrimBlanks(written);
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
        && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    std::u16string cut;
    int bytes = 0;
    for (const char16_t ch : value) {
        bytes += ShiftJisBytes(ch);
        if (bytes > bufferSize - 1)
            break;
        cut += ch;
    }
    return cut;
}

class TChecker {
public:
    explicit TChecker(const std::string& file) : FText(file)
    {
        if (FText.Bytes() != file)
            std::abort();
        FPairs = PairsOf(file, &FSections);
        FBefore = ReadAll(FText, FPairs);
    }

    const std::vector<TPair>& Pairs() const { return FPairs; }
    const std::vector<std::u16string>& Sections() const { return FSections; }

    void Write(const std::u16string& section, const std::u16string& key, const std::u16string& value, int bufferSize)
    {
        const std::string bytes = FText.Bytes();
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

    void DeleteKey(const std::u16string& section, const std::u16string& key)
    {
        FText.DeleteKey(section, key);
        const TPair deleted{section, key};
        CheckOthers([&](const TPair& pair) { return !SamePair(pair, deleted); });
        CheckReparse();
    }

    void EraseSection(const std::u16string& section)
    {
        FText.EraseSection(section);
        CheckOthers([&](const TPair& pair) {
            return !SameName(TrimSpaces(pair.Section), TrimSpaces(section));
        });
        CheckReparse();
    }

private:
    TProfileText FText;
    std::vector<TPair> FPairs;               // found in the file, then also those written
    std::vector<std::u16string> FSections;   // the section headers found in the file
    std::vector<std::u16string> FBefore;     // what each pair of FPairs reads now

    // Pairs the step left alone read as before; the others are read anew, since a
    // deleted key may uncover a later duplicate.
    template <typename TUntouched>
    void CheckOthers(TUntouched untouched)
    {
        const std::vector<std::u16string> after = ReadAll(FText, FPairs);
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

// The decimal number a field spells, 0 when it is none (or too long to matter).
unsigned NumberOf(std::u16string_view field)
{
    if (field.empty() || field.size() > 9)
        return 0;
    unsigned value = 0;
    for (const char16_t ch : field) {
        if (ch < u'0' || ch > u'9')
            return 0;
        value = value * 10 + unsigned(ch - u'0');
    }
    return value;
}

int BufferSizeOf(const std::vector<std::u16string>& fields, std::size_t index)
{
    if (index >= fields.size())
        return DefaultBufferSize;
    const int size = int(NumberOf(fields[index]) % 2048);
    return size > 0 ? size : DefaultBufferSize;
}

void RunStep(TChecker& checker, const std::u16string& step)
{
    if (step.empty())
        return;
    const char16_t operation = step.front();
    const std::vector<std::u16string> fields = Split(step.substr(1), char16_t(0x1F));
    auto field = [&](std::size_t index) { return index < fields.size() ? fields[index] : std::u16string(); };
    // A copy: a write may add to the checker's pairs while it reads these names.
    std::optional<TPair> chosen;
    if (!checker.Pairs().empty())
        chosen = checker.Pairs()[NumberOf(field(0)) % checker.Pairs().size()];
    const std::vector<std::u16string>& sections = checker.Sections();

    switch (operation) {
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
        if (!sections.empty())
            checker.EraseSection(sections[NumberOf(field(0)) % sections.size()]);
        break;
    default:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t lastNul = input.rfind('\0');
    TChecker checker(lastNul == std::string::npos ? input : input.substr(0, lastNul));

    if (lastNul == std::string::npos) {
        const std::size_t count = std::min<std::size_t>(checker.Pairs().size(), 3);
        for (std::size_t i = 0; i < count; ++i) {
            const TPair pair = checker.Pairs()[i];
            checker.Write(pair.Section, pair.Key, Format(u" \"値%1\" ", {IntText(std::int64_t(i))}), DefaultBufferSize);
        }
        checker.Write(u"Fuzz", u"Key", u"value", DefaultBufferSize);
        return 0;
    }

    const std::vector<std::u16string> steps = Split(Utf8ToText(input.substr(lastNul + 1)), char16_t(0x1E));
    for (std::size_t i = 0; i < steps.size() && i < MaxSteps; ++i)
        RunStep(checker, steps[i]);
    return 0;
}
