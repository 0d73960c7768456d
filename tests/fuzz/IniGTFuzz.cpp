#include "components/settings/IniGT.h"
#include "platform/base/AsciiCase.h"
#include "platform/base/ProfileText.h"
#include "platform/base/ShiftJis.h"
#include "platform/base/UnicodeText.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The settings store's strings, companion keys included, over a settings file in code
// page 932.
//
// Input: the bytes up to the last NUL are the file (all of the input when there is no
// NUL); what follows is a script in UTF-8 of at most MaxSteps steps, separated by
// U+001E, each a letter and fields separated by U+001F:
//   W section key value    WriteString in one update
//   w n value              the same on the n-th key found in the file
// Any text may be written, also text CP932 cannot hold, line breaks and NUL.
//
// Checked:
// - every key of the file reads either as its plain value or as a text whose replaced
//   form (each character the file cannot hold as "?") is that plain value: a companion
//   is never taken for a value that does not match it;
// - a written value reads back within the update and after it, from the file: exactly
//   when the file cannot hold it as it is, as the file's reading rules make it
//   otherwise; keys not written read as before;
// - only a value the file cannot hold adds a key (its companion).

namespace {

constexpr int MaxSteps = 8;
constexpr int MaxKeys = 32;
constexpr std::size_t ExactLength = 300;

using TText = std::u16string;

struct TKey {
    TText Section;
    TText Key;
};

bool Storable(std::u16string_view character)
{
    const char16_t first = character.front();
    return first != u'\r' && first != u'\n' && first != u'\0' && CanEncodeShiftJis(character);
}

bool IsHighSurrogate(char16_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }
bool IsLowSurrogate(char16_t ch) { return ch >= 0xDC00 && ch <= 0xDFFF; }

// An independent reference of the replaced form, one "?" a character.
TText Replaced(std::u16string_view text)
{
    TText result;
    for (std::size_t index = 0; index < text.size();) {
        const std::size_t length =
            IsHighSurrogate(text[index]) && index + 1 < text.size() && IsLowSurrogate(text[index + 1]) ? 2 : 1;
        const std::u16string_view character = text.substr(index, length);
        if (Storable(character))
            result += character;
        else
            result += u'?';
        index += length;
    }
    return result;
}

bool FileHolds(std::u16string_view text)
{
    return Replaced(text) == text;
}

// The text less the blanks at both ends (spaces, tabs, vertical tabs), as the parser
// trims lines and names.
TText Trimmed(std::u16string_view text)
{
    const auto blank = [](char16_t ch) { return ch == u' ' || ch == u'\t' || ch == u'\v'; };
    std::size_t first = 0, end = text.size();
    while (first < end && blank(text[first]))
        ++first;
    while (end > first && blank(text[end - 1]))
        --end;
    return TText(text.substr(first, end - first));
}

bool StartsWith(std::u16string_view text, std::u16string_view start) { return text.substr(0, start.size()) == start; }

bool EndsWithIgnoringAsciiCase(std::u16string_view text, std::u16string_view end)
{
    return text.size() >= end.size() && SameIgnoringAsciiCase(text.substr(text.size() - end.size()), end);
}

// The parts of bytes between the separators.
std::vector<std::string_view> Split(std::string_view bytes, char separator)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = bytes.find(separator, start);
        parts.push_back(bytes.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

std::vector<TText> Split(std::u16string_view text, char16_t separator)
{
    std::vector<TText> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        parts.emplace_back(text.substr(start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start));
        if (end == std::u16string_view::npos)
            return parts;
        start = end + 1;
    }
}

// Keys of the file in file order, found as the parser finds them.
std::vector<TKey> KeysOf(std::string_view bytes)
{
    std::vector<TKey> keys;
    TText section;
    bool inSection = false;
    for (const std::string_view raw : Split(bytes, '\n')) {
        for (const std::string_view part : Split(raw, '\r')) {
            const TText line = Trimmed(DecodeShiftJis(part));
            if (StartsWith(line, u";"))
                continue;
            if (StartsWith(line, u"[")) {
                const std::size_t close = line.rfind(u']');
                section = Trimmed(close != TText::npos && close > 0 ? line.substr(1, close - 1) : line.substr(1));
                inSection = true;
            } else if (const std::size_t equals = line.find(u'='); equals != TText::npos && equals > 0 && inSection) {
                if (keys.size() < MaxKeys)
                    keys.push_back({section, Trimmed(line.substr(0, equals))});
            }
        }
    }
    return keys;
}

// Key lines whose key is named like a companion, wherever they stand. A section line is
// no key line, even one whose name holds "=" (the section "[.Unicode=]").
std::size_t CompanionLines(std::string bytes)
{
    std::replace(bytes.begin(), bytes.end(), '\r', '\n');
    std::size_t count = 0;
    for (const std::string_view raw : Split(bytes, '\n')) {
        const TText line = Trimmed(DecodeShiftJis(raw));
        if (StartsWith(line, u"[") || StartsWith(line, u";"))
            continue;
        const std::size_t equals = line.find(u'=');
        if (equals != TText::npos && equals > 0 && EndsWithIgnoringAsciiCase(Trimmed(line.substr(0, equals)), u".Unicode"))
            ++count;
    }
    return count;
}

const TText Missing = u"\u00e9 missing \u2713";

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class TChecker {
public:
    TChecker(const std::filesystem::path& path, const std::string& file) : FPath(path), FKeys(KeysOf(file))
    {
        FStore.SetDefaultDir(ddNone);
        FStore.SetFileName(path.u16string());
        FStore.SetFence(fnNone);
        const TProfileText text(file);
        for (const TKey& key : FKeys) {
            const TText read = FStore.ReadString(key.Section, key.Key, Missing);
            const TText plain = text.Read(key.Section, key.Key, Missing, 1024);
            // A companion is taken only for the value it was written for: the plain value
            // is the replaced form of what is read (of its start, when the read is cut).
            if (read != plain) {
                const std::optional<TText> stored = text.Value(key.Section, key.Key);
                if (!stored || stored->find(u'?') == TText::npos || !StartsWith(*stored, StoredProfileValue(Replaced(read))))
                    std::abort();
            }
            FBefore.push_back(read);
        }
    }

    const std::vector<TKey>& Keys() const { return FKeys; }

    void Write(const TText& section, const TText& key, const TText& value)
    {
        if (!FileHolds(section) || !FileHolds(key) || value.size() > ExactLength)
            return;
        const std::size_t companions = CompanionLines(ReadBytes(FPath));
        FStore.BeginUpdate();
        try {
            FStore.WriteString(section, key, value);
        } catch (...) {
            // Only a name that does not read back is refused.
            FStore.CancelUpdate();
            return;
        }
        Expect(section, key, value);
        FStore.EndUpdate();
        Expect(section, key, value);
        const std::string bytes = ReadBytes(FPath);
        if (TProfileText(bytes).Bytes() != bytes)
            std::abort();
        // Only a value the file cannot hold as it is adds a companion (a key of that
        // name written as itself is a key like any other).
        const bool namedLikeACompanion = EndsWithIgnoringAsciiCase(Trimmed(key), u".Unicode");
        if (FileHolds(value) && !namedLikeACompanion && CompanionLines(bytes) > companions)
            std::abort();
        for (std::size_t i = 0; i < FKeys.size(); ++i) {
            const TKey& other = FKeys[i];
            // A key and its companion change each other's reading.
            if (SameName(other.Section, section)
                && (SameName(other.Key, key) || SameName(other.Key + u".Unicode", key) || SameName(other.Key, key + u".Unicode")))
                FBefore[i] = FStore.ReadString(other.Section, other.Key, Missing);
            else if (FStore.ReadString(other.Section, other.Key, Missing) != FBefore[i])
                std::abort();
        }
    }

private:
    static bool SameName(const TText& a, const TText& b) { return SameIgnoringAsciiCase(Trimmed(a), Trimmed(b)); }

    void Expect(const TText& section, const TText& key, const TText& value)
    {
        const TText read = FStore.ReadString(section, key, Missing);
        if (FileHolds(value)) {
            // The file's own reading rules: outer blanks and one pair of quotes go.
            TProfileText text;
            text.Write(u"S", u"K", value);
            if (read != text.Read(u"S", u"K", Missing, 1024))
                std::abort();
        } else if (read != value) {
            std::abort();
        }
    }

    std::filesystem::path FPath;
    TIniGT FStore;
    std::vector<TKey> FKeys;
    std::vector<TText> FBefore;
};

// A folder of its own for the file, made once for the whole run.
std::filesystem::path FuzzFile()
{
    static const std::filesystem::path file = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "IniGTFuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        return std::filesystem::path(pattern) / "Fuzz.ini";
    }();
    return file;
}

unsigned Number(const TText& text)
{
    unsigned value = 0;
    for (const char16_t ch : text) {
        if (ch < u'0' || ch > u'9')
            return 0;
        value = value * 10 + (ch - u'0');
    }
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::filesystem::path path = FuzzFile();
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t lastNul = input.rfind('\0');
    const std::string bytes = lastNul == std::string::npos ? input : input.substr(0, lastNul);
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file << bytes;
        if (!file.good())
            std::abort();
    }
    TChecker checker(path, bytes);
    if (lastNul == std::string::npos) {
        checker.Write(u"Fuzz", u"Text", Utf8ToText("Caf\u00e9 \U0001F600 100% ?"));
        if (!checker.Keys().empty())
            checker.Write(checker.Keys()[0].Section, checker.Keys()[0].Key, u"plain");
        return 0;
    }
    const std::vector<TText> steps = Split(Utf8ToText(std::string_view(input).substr(lastNul + 1)), u'\x1E');
    for (std::size_t i = 0; i < steps.size() && i < MaxSteps; ++i) {
        const TText& step = steps[i];
        if (step.empty())
            continue;
        const std::vector<TText> fields = Split(std::u16string_view(step).substr(1), u'\x1F');
        auto field = [&](std::size_t index) { return index < fields.size() ? fields[index] : TText(); };
        if (step.front() == u'W') {
            checker.Write(field(0), field(1), field(2));
        } else if (step.front() == u'w' && !checker.Keys().empty()) {
            const TKey key = checker.Keys()[Number(field(0)) % checker.Keys().size()];
            checker.Write(key.Section, key.Key, field(1));
        }
    }
    return 0;
}
