#pragma once

#include <QString>
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
        QString Text;
    };
    struct TUnderscore {
        int X = 0;
        int Width = 0;
    };
    struct TLine {
        std::vector<TSegment> Segments;
        std::vector<TUnderscore> Underscores;
    };

    TDrawTextLayout(const TFontFace& face, const QString& text, int width, unsigned flags);

    const std::vector<TLine>& Lines() const { return FLines; }
    int Height() const;

private:
    struct TChar {
        QChar Char;
        bool Underlined = false;
    };
    using TChars = std::vector<TChar>;

    TChars StripPrefixes(const QString& line) const;
    int Width(const QString& text) const;
    int Measure(const TChars& chars, std::size_t from, std::size_t to) const;
    std::size_t BreakPoint(const TChars& chars, std::size_t from) const;
    void AddLine(const TChars& chars, std::size_t from, std::size_t to);

    const TFontFace& FFace;
    int FWidth;
    unsigned FFlags;
    int FTabWidth;
    std::vector<TLine> FLines;
};
