#include "platform/base/UnicodeText.h"

#include <QString>
#include <gtest/gtest.h>
#include <vector>

namespace {

std::u16string QtText(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())).toStdU16String();
}

std::string QtUtf8(std::u16string_view text)
{
    // Not fromStdU16String, which drops a leading U+FEFF as a byte order mark.
    return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size())).toUtf8().toStdString();
}

// QString::fromUtf8 is the oracle: every sequence of one or two bytes, and of three and
// four bytes from every lead byte followed by bytes at each edge of the ranges that
// decide validity (ASCII, continuation, overlong, surrogate and out-of-range limits).
TEST(UnicodeText, Utf8ReadsEveryByteSequenceAsQtDoes)
{
    const unsigned char edges[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xF5, 0xFF};
    std::vector<std::string> inputs;
    for (int first = 0; first < 0x100; ++first) {
        inputs.push_back(std::string(1, char(first)));
        for (int second = 0; second < 0x100; ++second)
            inputs.push_back({char(first), char(second)});
        for (const unsigned char second : edges) {
            for (const unsigned char third : edges) {
                inputs.push_back({char(first), char(second), char(third)});
                for (const unsigned char fourth : edges)
                    inputs.push_back({char(first), char(second), char(third), char(fourth), 'x'});
            }
        }
    }
    for (const std::string& input : inputs)
        ASSERT_EQ(Utf8ToText(input), QtText(input)) << testing::PrintToString(input);
}

TEST(UnicodeText, Utf8Cases)
{
    const struct {
        const char* Name;
        std::string Utf8;
        std::u16string Text;
    } cases[] = {
        {"ascii", "Vezodev", u"Vezodev"},
        {"japanese", "ロゴ", u"ロゴ"},
        {"outside the BMP as a surrogate pair", "\xF0\x9F\x98\x80", u"\U0001F600"},
        {"largest code point", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        {"leading byte order mark dropped", "\xEF\xBB\xBFx", u"x"},
        {"only the first byte order mark dropped", "\xEF\xBB\xBF\xEF\xBB\xBF", u"\uFEFF"},
        {"byte order mark inside kept", "a\xEF\xBB\xBF", u"a\uFEFF"},
        {"cut byte order mark", "\xEF\xBB", u"\uFFFD\uFFFD"},
        {"nul kept", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        {"cut sequence at the end", "a\xE3\x83", u"a\uFFFD\uFFFD"},
        {"cut sequence before ASCII", "\xF0\x9F\x98" "A", u"\uFFFD\uFFFD\uFFFDA"},
        {"overlong", "\xC0\xAF\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"stray continuation", "\x80z", u"\uFFFDz"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Utf8ToText(c.Utf8), c.Text);
        EXPECT_EQ(Utf8ToText(c.Utf8), QtText(c.Utf8));
    }
}

// Every single unit, and every unit before a low and a high surrogate, written as
// QString::toUtf8 writes it; a lone surrogate as "?".
TEST(UnicodeText, Utf8WritesEveryUnitAsQtDoes)
{
    for (int unit = 0; unit < 0x10000; ++unit) {
        for (const std::u16string& text : {std::u16string(1, char16_t(unit)), std::u16string{char16_t(unit), u'\xDC00'},
                                           std::u16string{char16_t(unit), u'\xDBFF', u'x'}}) {
            ASSERT_EQ(TextToUtf8(text), QtUtf8(text)) << unit;
            if (unit < 0xD800 || unit > 0xDBFF) {
                const char16_t expected = unit < 0xD800 || unit > 0xDFFF ? unit : u'?';
                if (unit != 0xFEFF) {
                    ASSERT_EQ(Utf8ToText(TextToUtf8(text)).front(), expected);
                }
            }
        }
    }
    EXPECT_EQ(TextToUtf8(u"a\xD800\xD800\xDC00\xDC00"), "a?\xF0\x90\x80\x80?");
    EXPECT_EQ(TextToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(UnicodeText, Latin1BytesAreTheirCodePoints)
{
    EXPECT_EQ(Latin1ToText("A\xE9\xFF"), u"A\u00E9\u00FF");
}

TEST(UnicodeText, NumbersAsDigits)
{
    EXPECT_EQ(IntText(0), u"0");
    EXPECT_EQ(IntText(-42), u"-42");
    EXPECT_EQ(IntText(INT64_MAX), u"9223372036854775807");
    EXPECT_EQ(IntText(INT64_MIN), u"-9223372036854775808");
    EXPECT_EQ(HexDigits(0), u"0");
    EXPECT_EQ(HexDigits(0xABC), u"ABC");
    EXPECT_EQ(HexDigits(0xABC, 6), u"000ABC");
    EXPECT_EQ(HexDigits(0xABCDEF, 2), u"ABCDEF");
    EXPECT_EQ(HexDigits(UINT64_MAX, 0), u"FFFFFFFFFFFFFFFF");
}

TEST(UnicodeText, FormatReplacesEachMarkerOnceInOnePass)
{
    const struct {
        std::u16string_view Pattern;
        std::initializer_list<std::u16string_view> Arguments;
        std::u16string_view Expected;
    } cases[] = {
        {u"ﾌｧｲﾙ %1 を作成できません (%2)", {u"a.bmp", u"No space"}, u"ﾌｧｲﾙ a.bmp を作成できません (No space)"},
        {u"%1 %2", {u"%2", u"x"}, u"%2 x"},
        {u"%2-%1-%2", {u"a", u"b"}, u"b-a-b"},
        {u"100% %1", {u"sure"}, u"100% sure"},
        {u"%1%", {u"50"}, u"50%"},
        {u"%3 %1", {u"a"}, u"%3 a"},
        {u"%10", {u"a"}, u"a0"},
        {u"%0 %%1", {u"a"}, u"%0 %a"},
        {u"", {u"a"}, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(TextToUtf8(c.Pattern));
        EXPECT_EQ(Format(c.Pattern, c.Arguments), c.Expected);
    }
}

} // namespace
