#include "platform/raster/Canvas.h"
#include "platform/raster/DrawTextLayout.h"
#include "platform/raster/FontFace.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

std::shared_ptr<const TFontFace> Arial()
{
    TFont font;
    font.SetName(QStringLiteral("Arial"));
    font.SetHeight(-12);
    return TFontFace::For(font);
}

QStringList LineTexts(const TDrawTextLayout& layout)
{
    QStringList lines;
    for (const auto& line : layout.Lines()) {
        QString text;
        for (const auto& segment : line.Segments)
            text += segment.Text + QLatin1Char('|');
        lines << text;
    }
    return lines;
}

TEST(DrawTextLayoutTest, LineBreaksAreCrLfLfCrAndEachAlone)
{
    const TDrawTextLayout layout(*Arial(), QStringLiteral("a\r\nb\n\rc\rd\ne\r\rf"), 1000, DT_WORDBREAK);
    EXPECT_EQ(LineTexts(layout), (QStringList{"a|", "b|", "c|", "d|", "e|", "", "f|"}));
}

TEST(DrawTextLayoutTest, WordBreakKeepsAFittingBlankAndConsumesOneAtTheBreak)
{
    const auto held = Arial();
    const TFontFace& face = *held;
    const int width = face.TextWidth(QStringLiteral("aaa bb"));
    const TDrawTextLayout layout(face, QStringLiteral("aaa bb cc"), width, DT_WORDBREAK);
    EXPECT_EQ(LineTexts(layout), (QStringList{"aaa bb|", "cc|"}));
    const TDrawTextLayout blanks(face, QStringLiteral("aaa bb  cc"), width, DT_WORDBREAK);
    EXPECT_EQ(LineTexts(blanks), (QStringList{"aaa bb|", " cc|"}));
    const TDrawTextLayout narrow(face, QStringLiteral("aaa bb"), face.TextWidth(QStringLiteral("aaa b")), DT_WORDBREAK);
    EXPECT_EQ(LineTexts(narrow), (QStringList{"aaa |", "bb|"}));
}

TEST(DrawTextLayoutTest, AWordWiderThanTheLineStandsAloneUncut)
{
    const TDrawTextLayout layout(*Arial(), QStringLiteral("x verylongword y"), 20, DT_WORDBREAK);
    EXPECT_EQ(LineTexts(layout), (QStringList{"x |", "verylongword|", "y|"}));
    const TDrawTextLayout unwrapped(*Arial(), QStringLiteral("x verylongword y"), 20, 0);
    EXPECT_EQ(unwrapped.Lines().size(), 1u);
}

TEST(DrawTextLayoutTest, TabsMoveToMultiplesOfEightAverageWidths)
{
    const auto held = Arial();
    const TFontFace& face = *held;
    const TDrawTextLayout layout(face, QStringLiteral("a\tb\t\tc"), 1000, DT_EXPANDTABS);
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
    const TDrawTextLayout layout(face, QStringLiteral("a&bc&&d&"), 1000, 0);
    EXPECT_EQ(LineTexts(layout), (QStringList{"abc&d&|"}));
    const auto& marks = layout.Lines().at(0).Underscores;
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].X, face.TextWidth(QStringLiteral("a")));
    EXPECT_EQ(marks[0].Width, face.TextWidth(QStringLiteral("b")));
    const TDrawTextLayout literal(face, QStringLiteral("a&b"), 1000, DT_NOPREFIX);
    EXPECT_EQ(LineTexts(literal), (QStringList{"a&b|"}));
}

} // namespace
