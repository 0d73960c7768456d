#include "components/settings/IniGT.h"
#include "platform/base/ProfileText.h"
#include "platform/base/ShiftJis.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <optional>
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
constexpr int ExactLength = 300;

struct TKey {
    QString Section;
    QString Key;
};

bool Storable(QStringView character)
{
    const QChar first = character.front();
    return first != u'\r' && first != u'\n' && first != QChar(0) && CanEncodeShiftJis(character.toString());
}

// An independent reference of the replaced form, one "?" a character.
QString Replaced(const QString& text)
{
    QString result;
    for (qsizetype index = 0; index < text.size();) {
        const qsizetype length =
            text[index].isHighSurrogate() && index + 1 < text.size() && text[index + 1].isLowSurrogate() ? 2 : 1;
        result += Storable(QStringView(text).mid(index, length)) ? text.mid(index, length) : QStringLiteral("?");
        index += length;
    }
    return result;
}

bool FileHolds(const QString& text)
{
    return Replaced(text) == text;
}

// Keys of the file in file order, found as the parser finds them.
std::vector<TKey> KeysOf(const QByteArray& bytes)
{
    std::vector<TKey> keys;
    QString section;
    bool inSection = false;
    for (const QByteArray& raw : bytes.split('\n')) {
        for (const QByteArray& part : raw.split('\r')) {
            const QString line = DecodeShiftJis(part).trimmed();
            if (line.startsWith(u';'))
                continue;
            if (line.startsWith(u'[')) {
                const qsizetype close = line.lastIndexOf(u']');
                section = (close > 0 ? line.mid(1, close - 1) : line.mid(1)).trimmed();
                inSection = true;
            } else if (const qsizetype equals = line.indexOf(u'='); equals > 0 && inSection) {
                if (keys.size() < MaxKeys)
                    keys.push_back({section, line.left(equals).trimmed()});
            }
        }
    }
    return keys;
}

// Key lines whose key is named like a companion, wherever they stand. A section line is
// no key line, even one whose name holds "=" (the section "[.Unicode=]").
qsizetype CompanionLines(const QByteArray& bytes)
{
    qsizetype count = 0;
    for (const QByteArray& raw : QByteArray(bytes).replace('\r', '\n').split('\n')) {
        const QString line = DecodeShiftJis(raw).trimmed();
        if (line.startsWith(u'[') || line.startsWith(u';'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0 && line.left(equals).trimmed().endsWith(QStringLiteral(".Unicode"), Qt::CaseInsensitive))
            ++count;
    }
    return count;
}

const QString Missing = QStringLiteral(u"\u00e9 missing \u2713");

class TChecker {
public:
    TChecker(const QString& path, const QByteArray& file) : FPath(path), FKeys(KeysOf(file))
    {
        FStore.SetDefaultDir(ddNone);
        FStore.SetFileName(path);
        FStore.SetFence(fnNone);
        const TProfileText text(file);
        for (const TKey& key : FKeys) {
            const QString read = FStore.ReadString(key.Section, key.Key, Missing);
            const QString plain = text.Read(key.Section, key.Key, Missing, 1024);
            // A companion is taken only for the value it was written for: the plain value
            // is the replaced form of what is read (of its start, when the read is cut).
            if (read != plain) {
                const std::optional<QString> stored = text.Value(key.Section, key.Key);
                if (!stored || !stored->contains(u'?') || !stored->startsWith(StoredProfileValue(Replaced(read))))
                    std::abort();
            }
            FBefore.push_back(read);
        }
    }

    const std::vector<TKey>& Keys() const { return FKeys; }

    void Write(const QString& section, const QString& key, const QString& value)
    {
        if (!FileHolds(section) || !FileHolds(key) || value.size() > ExactLength)
            return;
        const qsizetype companions = CompanionLines(ReadFile());
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
        const QByteArray bytes = ReadFile();
        if (TProfileText(bytes).Bytes() != bytes)
            std::abort();
        // Only a value the file cannot hold as it is adds a companion (a key of that
        // name written as itself is a key like any other).
        const bool namedLikeACompanion = key.trimmed().endsWith(QStringLiteral(".Unicode"), Qt::CaseInsensitive);
        if (FileHolds(value) && !namedLikeACompanion && CompanionLines(bytes) > companions)
            std::abort();
        for (std::size_t i = 0; i < FKeys.size(); ++i) {
            const TKey& other = FKeys[i];
            // A key and its companion change each other's reading.
            if (SameName(other.Section, section)
                && (SameName(other.Key, key) || SameName(other.Key + ".Unicode", key) || SameName(other.Key, key + ".Unicode")))
                FBefore[i] = FStore.ReadString(other.Section, other.Key, Missing);
            else if (FStore.ReadString(other.Section, other.Key, Missing) != FBefore[i])
                std::abort();
        }
    }

private:
    static bool SameName(const QString& a, const QString& b) { return a.trimmed().toUpper() == b.trimmed().toUpper(); }

    QByteArray ReadFile() const
    {
        QFile file(FPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void Expect(const QString& section, const QString& key, const QString& value)
    {
        const QString read = FStore.ReadString(section, key, Missing);
        if (FileHolds(value)) {
            // The file's own reading rules: outer blanks and one pair of quotes go.
            TProfileText text;
            text.Write(QStringLiteral("S"), QStringLiteral("K"), value);
            if (read != text.Read(QStringLiteral("S"), QStringLiteral("K"), Missing, 1024))
                std::abort();
        } else if (read != value) {
            std::abort();
        }
    }

    QString FPath;
    TIniGT FStore;
    std::vector<TKey> FKeys;
    std::vector<QString> FBefore;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Fuzz.ini"));
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype lastNul = input.lastIndexOf('\0');
    const QByteArray bytes = lastNul < 0 ? input : input.left(lastNul);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            std::abort();
    }
    TChecker checker(path, bytes);
    if (lastNul < 0) {
        checker.Write(QStringLiteral("Fuzz"), QStringLiteral("Text"), QString::fromUtf8("Caf\u00e9 \U0001F600 100% ?"));
        if (!checker.Keys().empty())
            checker.Write(checker.Keys()[0].Section, checker.Keys()[0].Key, QStringLiteral("plain"));
        return 0;
    }
    const QStringList steps = QString::fromUtf8(input.mid(lastNul + 1)).split(QChar(0x1E));
    for (qsizetype i = 0; i < steps.size() && i < MaxSteps; ++i) {
        const QString& step = steps[i];
        if (step.isEmpty())
            continue;
        const QStringList fields = step.mid(1).split(QChar(0x1F));
        auto field = [&](qsizetype index) { return index < fields.size() ? fields[index] : QString(); };
        if (step.front() == u'W') {
            checker.Write(field(0), field(1), field(2));
        } else if (step.front() == u'w' && !checker.Keys().empty()) {
            const TKey key = checker.Keys()[field(0).toUInt() % checker.Keys().size()];
            checker.Write(key.Section, key.Key, field(1));
        }
    }
    return 0;
}
