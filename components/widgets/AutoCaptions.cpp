#include "components/widgets/AutoCaptions.h"

#include "platform/base/IntegerSyntax.h"
#include "platform/base/ShiftJis.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace {

// One character an entry, in the order of the syllabary: the 46 plain syllables, the 20
// voiced and the 5 half-voiced ones.
constexpr std::u16string_view HiraganaTable =
    u"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
    u"がぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽ";
constexpr std::u16string_view KatakanaTable =
    u"アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲン"
    u"ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポ";
constexpr std::u16string_view LetterTable = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ";
static_assert(HiraganaTable.size() == 71 && KatakanaTable.size() == 71 && LetterTable.size() == 26);

enum TLetterCase : unsigned char { lcCapital, lcSmall };

// The first length bytes of text in code page 932, where the tables are matched. A
// character without a code there ends the key; such a key matches no entry.
std::string ShiftJisKey(const QString& text, std::size_t length)
{
    std::string key;
    for (qsizetype i = 0; i < text.size() && key.size() < length; ++i) {
        const std::optional<std::string> bytes = TryEncodeShiftJis(std::u16string(1, text[i].unicode()));
        if (!bytes)
            break;
        key += *bytes;
    }
    return key.substr(0, length);
}

QString LetterEntry(std::size_t position, TLetterCase letterCase)
{
    const QChar letter(LetterTable[position]);
    return letterCase == lcSmall ? letter.toLower() : letter;
}

// The lowest position whose Shift-JIS entry equals the key byte for byte; 0 when none.
std::size_t KanaStart(std::u16string_view table, const QString& first)
{
    const std::string key = ShiftJisKey(first, 2);
    for (std::size_t position = 0; position < table.size(); ++position) {
        if (TryEncodeShiftJis(std::u16string(1, table[position])) == key)
            return position;
    }
    return 0;
}

std::size_t LetterStart(TLetterCase letterCase, const QString& first)
{
    const std::string key = ShiftJisKey(first, 1);
    for (std::size_t position = 0; position < LetterTable.size(); ++position) {
        if (LetterEntry(position, letterCase).toLatin1().toStdString() == key)
            return position;
    }
    return 0;
}

QStringList KanaRun(std::u16string_view table, const QString& first, int count)
{
    QStringList run;
    const std::size_t start = KanaStart(table, first);
    for (int i = 0; i < count; ++i) {
        const std::size_t position = start + i;
        run.push_back(position < table.size() ? QString(QChar(table[position])) : QString());
    }
    return run;
}

QStringList LetterRun(TLetterCase letterCase, const QString& first, int count)
{
    QStringList run;
    const std::size_t start = LetterStart(letterCase, first);
    for (int i = 0; i < count; ++i) {
        const std::size_t position = start + i;
        run.push_back(position < LetterTable.size() ? LetterEntry(position, letterCase) : QString());
    }
    return run;
}

QStringList NumberRun(const QString& first, int count)
{
    QStringList run;
    const std::int32_t start = TryStrToInt(first.toStdU16String()).value_or(1);
    for (int i = 0; i < count; ++i) {
        // 32-bit arithmetic that wraps past the largest integer instead of failing.
        const auto number = static_cast<std::int32_t>(static_cast<std::uint32_t>(start) + static_cast<std::uint32_t>(i));
        run.push_back(QString::number(number));
    }
    return run;
}

} // namespace

QStringList HiraganaCaptions(const QString& first, int count) { return KanaRun(HiraganaTable, first, count); }

QStringList KatakanaCaptions(const QString& first, int count) { return KanaRun(KatakanaTable, first, count); }

QStringList CapitalLetterCaptions(const QString& first, int count) { return LetterRun(lcCapital, first, count); }

QStringList SmallLetterCaptions(const QString& first, int count) { return LetterRun(lcSmall, first, count); }

QStringList NumberCaptions(const QString& first, int count) { return NumberRun(first, count); }
