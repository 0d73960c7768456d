#include "platform/raster/CodePoints.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

// A pair becomes one character; a half without its partner, or in the wrong order,
// stays a character of its own, so the layout still accounts for every unit.
TEST(CodePointsTest, PairsJoinAndLoneHalvesStandForThemselves)
{
    const struct {
        std::u16string Text;
        std::u32string Codes;
    } cases[] = {
        {u"", U""},
        {u"aロ\U0010FFFD", U"aロ\U0010FFFD"},
        {u"\U0001F389x", U"\U0001F389x"},
        {u"a\xD83C"s, U"a\xD83C"s},
        {u"\xDF89\xD83C"s, U"\xDF89\xD83C"s},
        {u"\xD83C\xD83C\xDF89"s, U"\xD83C\U0001F389"s},
        {u"\xDBFF\xDFFF\xD800\xDC00"s, U"\U0010FFFF\U00010000"s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Text.size() << " units");
        EXPECT_EQ(CodePoints(c.Text), c.Codes);
    }
}

} // namespace
