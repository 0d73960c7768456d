#include "composer/EffectMarker.h"
#include "composer/LogoEffects.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LeftRightLogo.h"

namespace {

struct TMarkCase {
    int Outline;
    int ShadowX;
    int ShadowY;
    TFontStyles Style;
};

TLogoParams ParamsOf(const TMarkCase& c)
{
    TLogoParams params = LeftRightLogo(QStringLiteral("Ag W"), clWhite, clGray, 0x00F01040, mtSrcPaint);
    params.Font.SetHeight(-30);
    params.Font.SetStyle(c.Style);
    params.Font.SetColor(clBlack);
    params.HSpace = 2;
    params.VSpace = 3;
    params.Effects.OutlineWidth = c.Outline;
    params.Effects.ShadowX = c.ShadowX;
    params.Effects.ShadowY = c.ShadowY;
    return params;
}

// The marks worked out pixel by pixel from the text layer (black letters on white): a
// letter, else outline where a letter lies in the square around the pixel, else shadow
// where one lies in the square around the pixel the shadow's offset back.
std::vector<std::uint8_t> ReferenceMarks(const TLogoParams& params, const TBitmap& text)
{
    const int width = text.Width();
    const int height = text.Height();
    const auto letter = [&](int x, int y) { return x >= 0 && y >= 0 && x < width && y < height && text.Pixel(x, y) == clBlack; };
    const int r = params.Effects.OutlineWidth;
    const auto near = [&](int x, int y) {
        for (int j = -r; j <= r; ++j)
            for (int i = -r; i <= r; ++i)
                if (letter(x + i, y + j))
                    return true;
        return false;
    };
    std::vector<std::uint8_t> marks;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            marks.push_back(letter(x, y)                                                    ? TLogoEffects::mkLetter
                                : near(x, y)                                                ? TLogoEffects::mkOutline
                                : near(x - params.Effects.ShadowX, y - params.Effects.ShadowY) ? TLogoEffects::mkShadow
                                                                                            : TLogoEffects::mkNone);
    return marks;
}

// Rows the outline and the shadow reach back and forth lie in earlier or later bands
// of the letter mask, down to bands of one row.
TEST(EffectMarkerTest, MarksAreTheLettersSquareAndShadowWhateverTheBandHeight)
{
    const TMarkCase cases[] = {
        {2, 3, 3, fsBold}, {0, -4, 6, 0}, {3, 5, -7, fsItalic | fsUnderline}, {1, 0, 0, fsStrikeOut}, {4, 0, -2, fsBold},
    };
    for (const TMarkCase& c : cases) {
        const TLogoParams params = ParamsOf(c);
        TBitmap text;
        TLogoComposer::RenderTextLayer(params, text);
        const std::vector<std::uint8_t> expected = ReferenceMarks(params, text);
        for (const int bandRows : {1, 2, 5, 1000}) {
            SCOPED_TRACE("outline " + std::to_string(c.Outline) + ", shadow " + std::to_string(c.ShadowX) + ","
                         + std::to_string(c.ShadowY) + ", bands of " + std::to_string(bandRows));
            TEffectMarker marker(params, text.Width(), text.Height(), bandRows);
            std::vector<std::uint8_t> marks;
            for (int y = 0; y < text.Height(); ++y) {
                const std::uint8_t* row = marker.NextRow();
                marks.insert(marks.end(), row, row + text.Width());
            }
            ASSERT_EQ(marks, expected);
        }
    }
}

} // namespace
