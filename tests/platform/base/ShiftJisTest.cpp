#include "platform/base/ShiftJis.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString Hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

QString CodePoints(const QString& text)
{
    QStringList points;
    for (const QChar ch : text)
        points << QString::number(ch.unicode(), 16).toUpper();
    return points.join(u' ');
}

struct TCodeCase {
    const char* Name;
    QString Text;
    QByteArray Bytes;
};

std::ostream& operator<<(std::ostream& out, const TCodeCase& c) { return out << c.Name; }

class ShiftJisRoundTrip : public testing::TestWithParam<TCodeCase> {};

TEST_P(ShiftJisRoundTrip, EncodesAndDecodesBothWays)
{
    const TCodeCase& c = GetParam();
    const auto encoded = TryEncodeShiftJis(c.Text);
    ASSERT_TRUE(encoded.has_value());
    EXPECT_EQ(Hex(*encoded), Hex(c.Bytes));
    EXPECT_EQ(CodePoints(DecodeShiftJis(c.Bytes)), CodePoints(c.Text));
}

INSTANTIATE_TEST_SUITE_P(Cp932, ShiftJisRoundTrip, testing::Values(
    TCodeCase{"AsciiBackslashAndTildeStayAscii", "Vezodev\\~", "Vezodev\\~"},
    TCodeCase{"ControlCodesKeepTheirValues", u"\x1a\x1c\x7f\t"_s, "\x1a\x1c\x7f\t"},
    TCodeCase{"Japanese", u"ロゴ作成"_s, "\x83\x8d\x83\x53\x8d\xec\x90\xac"},
    TCodeCase{"TrailByteIsBracket", u"ゾ表"_s, "\x83\x5d\x95\x5c"},
    TCodeCase{"HalfWidthKana", u"｡ｱﾟ"_s, "\xa1\xb1\xdf"},
    TCodeCase{"WindowsPunctuation", u"～∥－￢"_s, "\x81\x60\x81\x61\x81\x7c\x81\xca"},
    TCodeCase{"NecRowThirteen", u"①№Ⅰ"_s, "\x87\x40\x87\x82\x87\x54"},
    TCodeCase{"IbmExtensionsPreferredOverNecSelected", u"ⅰ纊髙"_s, "\xfa\x40\xfa\x5c\xfb\xfc"},
    TCodeCase{"DuplicatesTakeJisRowCode", u"≒∵"_s, "\x81\xe0\x81\xe6"},
    TCodeCase{"UserDefinedArea", u"\ue000\ue757"_s, "\xf0\x40\xf9\xfc"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ShiftJis, EveryAssignedDoubleByteCodeRoundTripsToItsCharacter)
{
    int assigned = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const char bytes[] = {char(lead), char(trail)};
            const QByteArray pair(bytes, 2);
            const QString text = DecodeShiftJis(pair);
            if (text.size() != 1 || text[0] == QChar(0xFFFD))
                continue;
            ++assigned;
            const auto encoded = TryEncodeShiftJis(text);
            ASSERT_TRUE(encoded.has_value()) << Hex(pair).toStdString();
            ASSERT_EQ(DecodeShiftJis(*encoded), text) << Hex(pair).toStdString();
        }
    }
    EXPECT_EQ(assigned, 9604);
    // Codes repeated in the NEC-selected rows decode like the code Windows writes.
    EXPECT_EQ(DecodeShiftJis("\xed\x40\xee\xef"), u"纊ⅰ"_s);
}

TEST(ShiftJis, RefusesCharactersWithoutCode)
{
    const QString refused[] = {
        u"\u00a5"_s, u"\u203e"_s, u"\u301c"_s, u"\u2212"_s,
        u"\u21d3"_s, u"\u00df"_s, u"\u0080"_s, u"\ufffd"_s,
        u"\ue758"_s, QString::fromUtf8("😀"), QString(QChar(0xD800)),
        u"ab\u301ccd"_s,
    };
    for (const QString& text : refused) {
        SCOPED_TRACE(CodePoints(text).toStdString());
        EXPECT_FALSE(TryEncodeShiftJis(text).has_value());
        EXPECT_FALSE(CanEncodeShiftJis(text));
    }
    EXPECT_TRUE(CanEncodeShiftJis(QString()));
}

TEST(ShiftJis, DecodesEachInvalidByteToReplacementCharacter)
{
    const struct {
        QByteArray Bytes;
        QString Text;
    } cases[] = {
        {"\x80", u"\ufffd"_s},
        {"\xa0", u"\ufffd"_s},
        {"\xfd\xfe\xff", u"\ufffd\ufffd\ufffd"_s},
        {"a\x83", u"a\ufffd"_s},               // lead byte at the end
        {"\x83 x", u"\ufffd x"_s},             // lead byte before a byte that cannot follow it
        {"\x81\x7f", u"\ufffd\x7f"_s},
        {"\x85\x40z", u"\ufffdz"_s},           // well-formed but unassigned pair
        {"\xfc\xfc", u"\ufffd"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Hex(c.Bytes).toStdString());
        EXPECT_EQ(CodePoints(DecodeShiftJis(c.Bytes)), CodePoints(c.Text));
    }
}

} // namespace
