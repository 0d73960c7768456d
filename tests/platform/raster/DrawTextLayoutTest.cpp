#include "platform/raster/Canvas.h"
#include "platform/raster/DrawTextLayout.h"
#include "platform/raster/FontFace.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<const TFontFace> Arial()
{
    TFont font;
    font.SetName(u"Arial");
    font.SetHeight(-12);
    return TFontFace::For(font);
}

std::vector<std::u16string> LineTexts(const TDrawTextLayout& layout)
{
    std::vector<std::u16string> lines;
    for (const auto& line : layout.Lines()) {
        std::u16string text;
        for (const auto& segment : line.Segments)
            text += segment.Text + u'|';
        lines.push_back(text);
    }
    return lines;
}

TEST(DrawTextLayoutTest, LineBreaksAreCrLfLfCrAndEachAlone)
{
    const TDrawTextLayout layout(*Arial(), u"a\r\nb\n\rc\rd\ne\r\rf", 1000, DT_WORDBREAK);
    EXPECT_EQ(LineTexts(layout), (std::vector<std::u16string>{u"a|", u"b|", u"c|", u"d|", u"e|", u"", u"f|"}));
}

TEST(DrawTextLayoutTest, WordBreakKeepsAFittingBlankAndConsumesOneAtTheBreak)
{
    const auto held = Arial();
    const TFontFace& face = *held;
    const int width = face.TextWidth(u"aaa bb");
    const TDrawTextLayout layout(face, u"aaa bb cc", width, DT_WORDBREAK);
    EXPECT_EQ(LineTexts(layout), (std::vector<std::u16string>{u"aaa bb|", u"cc|"}));
    const TDrawTextLayout blanks(face, u"aaa bb  cc", width, DT_WORDBREAK);
    EXPECT_EQ(LineTexts(blanks), (std::vector<std::u16string>{u"aaa bb|", u" cc|"}));
    const TDrawTextLayout narrow(face, u"aaa bb", face.TextWidth(u"aaa b"), DT_WORDBREAK);
    EXPECT_EQ(LineTexts(narrow), (std::vector<std::u16string>{u"aaa |", u"bb|"}));
}

TEST(DrawTextLayoutTest, AWordWiderThanTheLineStandsAloneUncut)
{
    const TDrawTextLayout layout(*Arial(), u"x verylongword y", 20, DT_WORDBREAK);
    EXPECT_EQ(LineTexts(layout), (std::vector<std::u16string>{u"x |", u"verylongword|", u"y|"}));
    const TDrawTextLayout unwrapped(*Arial(), u"x verylongword y", 20, 0);
    EXPECT_EQ(unwrapped.Lines().size(), 1u);
}

TEST(DrawTextLayoutTest, TabsMoveToMultiplesOfEightAverageWidths)
{
    const auto held = Arial();
    const TFontFace& face = *held;
    const TDrawTextLayout layout(face, u"a\tb\t\tc", 1000, DT_EXPANDTABS);
    const auto& segments = layout.Lines().at(0).Segments;
    ASSERT_EQ(segments.size(), 3u);
    const int tab = 8 * face.AveCharWidth();
    EXPECT_EQ(segments[0].X, 0);
    EXPECT_EQ(segments[1].X, tab);
    EXPECT_EQ(segments[2].X, 3 * tab);
}

TEST(DrawTextLayoutTest, AmpersandsUnderlineTheNextCharacter)
{
    const auto held = Arial();
    const TFontFace& face = *held;
    const TDrawTextLayout layout(face, u"a&bc&&d&", 1000, 0);
    EXPECT_EQ(LineTexts(layout), (std::vector<std::u16string>{u"abc&d&|"}));
    const auto& marks = layout.Lines().at(0).Underscores;
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].X, face.TextWidth(u"a"));
    EXPECT_EQ(marks[0].Width, face.TextWidth(u"b"));
    const TDrawTextLayout literal(face, u"a&b", 1000, DT_NOPREFIX);
    EXPECT_EQ(LineTexts(literal), (std::vector<std::u16string>{u"a&b|"}));
}

} // namespace
