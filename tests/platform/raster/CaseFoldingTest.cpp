#include "platform/raster/CaseFolding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

struct TFoldCase {
    std::u16string A;
    std::u16string B;
    bool Equal;
    bool Contains;   // B in A
    bool StartsWith; // A starts with B
};

// Family names compare as the desktop compares them: case ignored in every script,
// fullwidth letters included; a NUL is a character like any other, not the end.
TEST(CaseFoldingTest, CaseIsIgnoredInEveryScriptAndANulEndsNothing)
{
    const TFoldCase cases[] = {
        {u"MS PGothic", u"ms pgothic", true, true, true},
        {u"ＭＳ Ｐゴシック", u"ｍｓ ｐゴシック", true, true, true},
        {u"ＭＳ Ｐゴシック", u"MS Pゴシック", false, false, false},
        {u"ΣΥΜΒΟΛΟ", u"σύμβολο", false, false, false},
        {u"ΣΥΜΒΟΛΟ", u"συμβολο", true, true, true},
        {u"Standard Symbols PS", u"standard symbols", false, true, true},
        {u"OpenSymbol", u"SYMBOL", false, true, false},
        {u"Symbol\0x"s, u"Symbol", false, true, true},
        {u"x\0Symbol"s, u"symbol", false, true, false},
        {u"Symbol\0x"s, u"symbol\0X"s, true, true, true},
        {u"", u"", true, true, true},
        {u"Arial", u"", false, true, true},
    };
    for (const TFoldCase& c : cases) {
        SCOPED_TRACE(std::string(c.A.begin(), c.A.end()) + " | " + std::string(c.B.begin(), c.B.end()));
        EXPECT_EQ(EqualIgnoringCase(c.A, c.B), c.Equal);
        EXPECT_EQ(EqualIgnoringCase(c.B, c.A), c.Equal);
        EXPECT_EQ(ContainsIgnoringCase(c.A, c.B), c.Contains);
        EXPECT_EQ(StartsWithIgnoringCase(c.A, c.B), c.StartsWith);
    }
}

} // namespace
