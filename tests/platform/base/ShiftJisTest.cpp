#include "platform/base/ShiftJis.h"

#include "platform/base/UnicodeText.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <gtest/gtest.h>
#include <vector>

using namespace std::string_literals;

namespace {

std::string Hex(std::string_view bytes)
{
    static constexpr char Digits[] = "0123456789abcdef";
    std::string hex;
    for (const char b : bytes) {
        if (!hex.empty())
            hex += ' ';
        hex += Digits[static_cast<unsigned char>(b) >> 4];
        hex += Digits[static_cast<unsigned char>(b) & 0xF];
    }
    return hex;
}

std::string CodePoints(std::u16string_view text)
{
    std::string points;
    for (const char16_t ch : text) {
        if (!points.empty())
            points += ' ';
        points += TextToUtf8(HexDigits(ch));
    }
    return points;
}

struct TCodeCase {
    const char* Name;
    std::u16string Text;
    std::string Bytes;
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
    TCodeCase{"AsciiBackslashAndTildeStayAscii", u"Vezodev\\~", "Vezodev\\~"},
    TCodeCase{"ControlCodesKeepTheirValues", u"\x1a\x1c\x7f\t", "\x1a\x1c\x7f\t"},
    TCodeCase{"Japanese", u"ロゴ作成", "\x83\x8d\x83\x53\x8d\xec\x90\xac"},
    TCodeCase{"TrailByteIsBracket", u"ゾ表", "\x83\x5d\x95\x5c"},
    TCodeCase{"HalfWidthKana", u"｡ｱﾟ", "\xa1\xb1\xdf"},
    TCodeCase{"WindowsPunctuation", u"～∥－￢", "\x81\x60\x81\x61\x81\x7c\x81\xca"},
    TCodeCase{"NecRowThirteen", u"①№Ⅰ", "\x87\x40\x87\x82\x87\x54"},
    TCodeCase{"IbmExtensionsPreferredOverNecSelected", u"ⅰ纊髙", "\xfa\x40\xfa\x5c\xfb\xfc"},
    TCodeCase{"DuplicatesTakeJisRowCode", u"≒∵", "\x81\xe0\x81\xe6"},
    TCodeCase{"UserDefinedArea", u"\ue000\ue757", "\xf0\x40\xf9\xfc"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ShiftJis, EveryAssignedDoubleByteCodeRoundTripsToItsCharacter)
{
    int assigned = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string pair{char(lead), char(trail)};
            const std::u16string text = DecodeShiftJis(pair);
            if (text.size() != 1 || text[0] == 0xFFFD)
                continue;
            ++assigned;
            const auto encoded = TryEncodeShiftJis(text);
            ASSERT_TRUE(encoded.has_value()) << Hex(pair);
            ASSERT_EQ(DecodeShiftJis(*encoded), text) << Hex(pair);
        }
    }
    EXPECT_EQ(assigned, 9604);
    // Codes repeated in the NEC-selected rows decode like the code Windows writes.
    EXPECT_EQ(DecodeShiftJis("\xed\x40\xee\xef"), u"纊ⅰ");
}

TEST(ShiftJis, RefusesCharactersWithoutCode)
{
    const std::u16string refused[] = {
        u"\u00a5", u"\u203e", u"\u301c", u"\u2212",
        u"\u21d3", u"\u00df", u"\u0080", u"\ufffd",
        u"\ue758", u"😀", std::u16string(1, char16_t(0xD800)),
        u"ab\u301ccd",
    };
    for (const std::u16string& text : refused) {
        SCOPED_TRACE(CodePoints(text));
        EXPECT_FALSE(TryEncodeShiftJis(text).has_value());
        EXPECT_FALSE(CanEncodeShiftJis(text));
    }
    EXPECT_TRUE(CanEncodeShiftJis(u""));
}

TEST(ShiftJis, DecodesEachInvalidByteToReplacementCharacter)
{
    const struct {
        std::string Bytes;
        std::u16string Text;
    } cases[] = {
        {"\x80", u"\ufffd"},
        {"\xa0", u"\ufffd"},
        {"\xfd\xfe\xff", u"\ufffd\ufffd\ufffd"},
        {"a\x83", u"a\ufffd"},               // lead byte at the end
        {"\x83 x", u"\ufffd x"},             // lead byte before a byte that cannot follow it
        {"\x81\x7f", u"\ufffd\x7f"},
        {"\x85\x40z", u"\ufffdz"},           // well-formed but unassigned pair
        {"\xfc\xfc", u"\ufffd"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Hex(c.Bytes));
        EXPECT_EQ(CodePoints(DecodeShiftJis(c.Bytes)), CodePoints(c.Text));
    }
}

// The conversion as it was made at run time from Qt's "Shift_JIS" converter (ICU's):
// the double-byte codes read pair by pair from one decoder, each decoded character
// encoded once by one encoder and kept where it decodes back, ASCII and half-width
// katakana by their ranges, every other byte U+FFFD.
class TLiveShiftJis {
public:
    TLiveShiftJis() : FFromCode(0x10000, 0), FToCode(0x10000, 0)
    {
        QStringDecoder decoder("Shift_JIS");
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (!IsPair(lead, trail))
                    continue;
                const char pair[2] = {char(lead), char(trail)};
                const QString text = decoder.decode(QByteArrayView(pair, 2));
                if (text.size() == 1 && text[0].unicode() != 0xFFFD)
                    FFromCode[(lead << 8) | trail] = text[0].unicode();
            }
        }
        QStringEncoder encoder("Shift_JIS");
        for (int code = 0; code < 0x10000; ++code) {
            const char16_t ch = FFromCode[code];
            if (ch == 0 || FToCode[ch] != 0)
                continue;
            const QByteArray bytes = encoder.encode(QStringView(&ch, 1));
            if (bytes.size() != 2)
                continue;
            const int chosen = (static_cast<unsigned char>(bytes[0]) << 8) | static_cast<unsigned char>(bytes[1]);
            if (FFromCode[chosen] == ch)
                FToCode[ch] = char16_t(chosen);
        }
    }

    std::optional<std::string> Encode(char16_t ch) const
    {
        if (ch < 0x80)
            return std::string(1, char(ch));
        if (ch >= 0xFF61 && ch <= 0xFF9F)
            return std::string(1, char(ch - 0xFF61 + 0xA1));
        if (FToCode[ch] == 0)
            return std::nullopt;
        return std::string{char(FToCode[ch] >> 8), char(FToCode[ch] & 0xFF)};
    }

    std::u16string Decode(std::string_view bytes) const
    {
        std::u16string text;
        for (std::size_t i = 0; i < bytes.size();) {
            const int b = static_cast<unsigned char>(bytes[i]);
            const int next = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : -1;
            if (b < 0x80) {
                text += char16_t(b);
            } else if (b >= 0xA1 && b <= 0xDF) {
                text += char16_t(b - 0xA1 + 0xFF61);
            } else if (IsPair(b, next)) {
                const char16_t ch = FFromCode[(b << 8) | next];
                text += ch != 0 ? ch : char16_t(0xFFFD);
                ++i;
            } else {
                text += char16_t(0xFFFD);
            }
            ++i;
        }
        return text;
    }

private:
    std::vector<char16_t> FFromCode;
    std::vector<char16_t> FToCode;

    static bool IsPair(int lead, int trail)
    {
        return ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) && trail >= 0x40 && trail <= 0xFC
            && trail != 0x7F;
    }
};

TEST(ShiftJis, ConvertsEveryUnitByteAndPairAsTheLiveConverterDid)
{
    const TLiveShiftJis live;
    for (int unit = 0; unit < 0x10000; ++unit) {
        const char16_t ch = char16_t(unit);
        ASSERT_EQ(TryEncodeShiftJis(std::u16string_view(&ch, 1)), live.Encode(ch)) << "U+" << TextToUtf8(HexDigits(ch, 4));
    }
    for (int first = 0; first < 0x100; ++first) {
        const std::string single(1, char(first));
        ASSERT_EQ(DecodeShiftJis(single), live.Decode(single)) << Hex(single);
        for (int second = 0; second < 0x100; ++second) {
            const std::string pair{char(first), char(second)};
            ASSERT_EQ(DecodeShiftJis(pair), live.Decode(pair)) << Hex(pair);
        }
    }
    // A character outside the BMP is two units, neither of which has a code.
    EXPECT_EQ(TryEncodeShiftJis(u"a😀"), std::nullopt);
}

} // namespace
