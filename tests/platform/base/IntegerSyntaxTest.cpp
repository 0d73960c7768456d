#include "platform/base/IntegerSyntax.h"

#include "platform/base/Exception.h"
#include "platform/base/UnicodeText.h"

#include <gtest/gtest.h>

namespace {

struct TIntegerCase {
    const char* Text;
    std::optional<std::int32_t> Value;
};

std::ostream& operator<<(std::ostream& out, const TIntegerCase& c)
{
    return out << '"' << c.Text << '"';
}

class IntegerSyntax : public testing::TestWithParam<TIntegerCase> {};

TEST_P(IntegerSyntax, ParsesLikeTheOldFramework)
{
    const TIntegerCase& c = GetParam();
    const std::u16string text = Utf8ToText(c.Text);
    EXPECT_EQ(TryStrToInt(text), c.Value);
    EXPECT_EQ(StrToIntDef(text, 7), c.Value.value_or(7));
    if (c.Value)
        EXPECT_EQ(StrToInt(text), *c.Value);
    else
        EXPECT_THROW(StrToInt(text), EConvertError);
}

INSTANTIATE_TEST_SUITE_P(Accepted, IntegerSyntax, testing::Values(
    TIntegerCase{" 42", 42}, TIntegerCase{"+5", 5}, TIntegerCase{"-0", 0},
    TIntegerCase{"$1F", 31}, TIntegerCase{"$ff", 255}, TIntegerCase{"-$10", -16},
    TIntegerCase{"+$10", 16}, TIntegerCase{"$FFFFFFFF", -1},
    TIntegerCase{"$80000000", INT32_MIN}, TIntegerCase{"-$FFFFFFFF", 1},
    TIntegerCase{"$000000001F", 31}, TIntegerCase{"0000000000012", 12},
    TIntegerCase{"2147483647", INT32_MAX}, TIntegerCase{"-2147483648", INT32_MIN}));

INSTANTIATE_TEST_SUITE_P(Refused, IntegerSyntax, testing::Values(
    TIntegerCase{"", {}}, TIntegerCase{" ", {}}, TIntegerCase{"-", {}}, TIntegerCase{"+", {}},
    TIntegerCase{"$", {}}, TIntegerCase{"-$", {}}, TIntegerCase{"12 ", {}},
    TIntegerCase{"12abc", {}}, TIntegerCase{"1e3", {}}, TIntegerCase{"0x1F", {}},
    TIntegerCase{"\t5", {}}, TIntegerCase{"- 5", {}}, TIntegerCase{"--5", {}},
    TIntegerCase{"$-5", {}}, TIntegerCase{"１２", {}},
    TIntegerCase{"2147483648", {}}, TIntegerCase{"-2147483649", {}},
    TIntegerCase{"99999999999999999999", {}}, TIntegerCase{"$100000000", {}},
    TIntegerCase{"$FFFFFFFFF", {}}));

TEST(IntegerSyntaxMessage, StrToIntNamesTheText)
{
    try {
        StrToInt(u"abc");
        FAIL() << "no exception";
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), u"'abc' は整数ではありません");
        EXPECT_STREQ(error.what(), "'abc' は整数ではありません");
    }
}

TEST(IntegerSyntaxHex, HexTextWritesEightUpperCaseDigits)
{
    EXPECT_EQ(HexText(0), u"0x00000000");
    EXPECT_EQ(HexText(0x00ABCDEFu), u"0x00ABCDEF");
    EXPECT_EQ(HexText(0xFFFFFFFFu), u"0xFFFFFFFF");
}

} // namespace
