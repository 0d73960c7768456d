#include "tools/TextClasses.h"

#include <QChar>
#include <gtest/gtest.h>

#include <string>

namespace {

// Batch lines are trimmed and colour names told from other words as Qt told them:
// every UTF-16 unit is a space or a letter for the renderer exactly when it is for
// QChar, but for the few letters and spaces the two Unicode versions disagree on.
TEST(TextClassesTest, SpacesAndLettersAreQtsForEveryUtf16Unit)
{
    int spaceDifferences = 0;
    int letterDifferences = 0;
    for (char32_t code = 0; code <= 0xFFFF; ++code) {
        const auto unit = static_cast<char16_t>(code);
        const QChar ch(unit);
        if (IsSpaceUnit(unit) != ch.isSpace()) {
            ++spaceDifferences;
            ADD_FAILURE() << "space U+" << std::hex << unsigned(code);
        }
        if (IsLetterUnit(unit) != ch.isLetter())
            ++letterDifferences;
    }
    EXPECT_EQ(spaceDifferences, 0);
    // Letters added to Unicode after one library's tables were made differ; a few
    // dozen at most, never an ASCII one.
    EXPECT_LE(letterDifferences, 64);
    for (char16_t unit = 0; unit < 0x80; ++unit)
        EXPECT_EQ(IsLetterUnit(unit), QChar(unit).isLetter()) << int(unit);
}

TEST(TextClassesTest, TrimmedDropsSpacesAtBothEndsOnly)
{
    struct TCase {
        std::u16string Text;
        std::u16string Trimmed;
    };
    for (const TCase& c : {TCase{u"", u""}, TCase{u" \t\r\n", u""}, TCase{u"  -o a.bmp\r", u"-o a.bmp"},
                           TCase{u"\u3000ロゴ\u00A0", u"ロゴ"}, TCase{u"a  b", u"a  b"},
                           TCase{u"\u2028x\u0085", u"x"}}) {
        EXPECT_TRUE(Trimmed(c.Text) == c.Trimmed);
    }
}

} // namespace
