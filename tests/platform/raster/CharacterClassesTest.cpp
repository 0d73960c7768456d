#include "platform/raster/CharacterClasses.h"

#include <gtest/gtest.h>

namespace {

struct TClassCase {
    char32_t Code;
    bool Mark;
    bool Format;
    bool StaysWithBase;
    bool RightToLeft;
};

// Characters of each class and beside each, among them the ones where the tables of
// the two libraries differ: marks and letters newer than FriBidi's tables in
// right-to-left blocks, and unassigned code points that Unicode makes right-to-left by
// default.
TEST(CharacterClassesTest, EachCharacterIsInTheClassesUnicodeGivesIt)
{
    const TClassCase cases[] = {
        {U'a', false, false, false, false},
        {U' ', false, false, true, false},
        {0x3000, false, false, true, false},   // ideographic space
        {0x00A0, false, false, true, false},   // no-break space
        {0x0301, true, false, true, false},    // combining acute accent (Mn)
        {0x0903, true, false, true, false},    // Devanagari visarga (Mc)
        {0x20DD, true, false, true, false},    // combining enclosing circle (Me)
        {0x200D, false, true, false, false},   // zero width joiner
        {0x200F, false, true, false, true},    // right-to-left mark
        {0x202E, false, true, false, true},    // right-to-left override
        {0x2066, false, true, false, true},    // left-to-right isolate
        {0x05D0, false, false, false, true},   // Hebrew alef (R)
        {0x0627, false, false, false, true},   // Arabic alef (AL)
        {0x0661, false, false, false, true},   // Arabic-Indic digit one (AN)
        {0x0031, false, false, false, false},  // European digit one
        {0x07FD, true, false, true, false},    // N'Ko dantayalan, a mark in a right-to-left block
        {0x0898, true, false, true, false},    // Arabic small high word al-juz, likewise
        {0x05CD, false, false, false, true},   // unassigned, in the Hebrew block
        {0x1E8C5, false, false, false, true},  // unassigned, after Mende Kikakui
        {0x1E94B, false, false, false, true},  // Adlam nasalization mark (a letter, R)
        {0x1E950, false, false, false, true},  // Adlam digit zero (R)
        {0x1EC71, false, false, false, true},  // Indic Siyaq number one (AL)
        {0x1ED01, false, false, false, true},  // Ottoman Siyaq number one (AL)
        {0x1EEF0, false, false, false, false}, // Arabic mathematical operator meem with hah (ON)
        {0x1EFFF, false, false, false, true},  // unassigned, the end of that area
        {0x1F000, false, false, false, false}, // Mahjong tile east wind
        {0x3042, false, false, false, false},  // hiragana a
    };
    for (const TClassCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << std::uppercase << unsigned(c.Code));
        EXPECT_EQ(IsMark(c.Code), c.Mark);
        EXPECT_EQ(IsFormatControl(c.Code), c.Format);
        EXPECT_EQ(StaysWithBase(c.Code), c.StaysWithBase);
        EXPECT_EQ(IsRightToLeftOrEmbedding(c.Code), c.RightToLeft);
    }
}

} // namespace
