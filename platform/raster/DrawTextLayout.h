#pragma once

#include <string>
#include <string_view>
#include <vector>

class TFontFace;

// Breaks a text into the lines the old DrawText call drew: CR, LF, CR LF and LF CR end
// a line; with word break a line that is too wide breaks after its last blank that
// fits (one blank at the break is consumed) and a word wider than the line stands
// alone, uncut; tabs move to the next multiple of eight average character widths;
// "&x" underlines x, "&&" is one "&". Positions are relative to the rectangle.
class TDrawTextLayout {
public:
    struct TSegment {
        int X = 0;
        int Width = 0;
        std::u16string Text;
    };
    struct TUnderscore {
        int X = 0;
        int Width = 0;
    };
    struct TLine {
        std::vector<TSegment> Segments;
        std::vector<TUnderscore> Underscores;
    };

    TDrawTextLayout(const TFontFace& face, std::u16string_view text, int width, unsigned flags);

    const std::vector<TLine>& Lines() const { return FLines; }
    int Height() const;

private:
    struct TChar {
        char16_t Char = 0;
        bool Underlined = false;
    };
    using TChars = std::vector<TChar>;

    TChars StripPrefixes(std::u16string_view line) const;
    int Width(std::u16string_view text) const;
    int Measure(const TChars& chars, std::size_t from, std::size_t to) const;
    std::size_t BreakPoint(const TChars& chars, std::size_t from) const;
    void AddLine(const TChars& chars, std::size_t from, std::size_t to);

    const TFontFace& FFace;
    int FWidth;
    unsigned FFlags;
    int FTabWidth;
    std::vector<TLine> FLines;
};
