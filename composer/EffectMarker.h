#pragma once

#include "composer/LogoParams.h"
#include "composer/TextBands.h"
#include "platform/raster/Types.h"

#include <cstdint>
#include <vector>

// What a pixel of a logo with an outline or a shadow shows, from the bottom up.
enum TEffectMark : std::uint8_t { mkNone = 0, mkShadow = 1, mkOutline = 2, mkLetter = 3 };

// The marks of a logo's outline and shadow (one byte a pixel), row after row from the
// top. Each row of the letter mask is drawn once, a band of rows at a time; the
// outline's square is each row's runs of letters widened by the outline's width, then a
// running count down each column, so a row costs the same whatever the outline's width. The rows the outline and the shadow reach to are kept
// in rings that hold no more than that reach, so the memory does not grow with the
// logo's height.
class TEffectMarker {
public:
    // params as the logo is drawn with the top-left of its text's cell at origin, width
    // and height its size in pixels; the letter mask is drawn at most bandRows rows at
    // a time (at least one).
    TEffectMarker(const TLogoParams& params, TPoint origin, int width, int height, int bandRows);

    // The marks of the next row, width bytes, good until the next call.
    const std::uint8_t* NextRow();

private:
    // Rows of one byte a pixel, the row y kept at y modulo the count.
    struct TRowRing {
        std::vector<std::uint8_t> Bytes;
        int Rows = 1;
        int Width = 0;

        void Reshape(int width, int rows);
        std::uint8_t* Row(int y);
    };

    void MakeLetterRow();
    void MakeAreaRow();

    // The logo's text in white on black.
    static TLogoParams MaskParams(const TLogoParams& params);

    int FWidth = 0;
    int FRadius = 0;
    int FShadowX = 0;
    int FShadowY = 0;
    // How many rows above and below a mark row the shadow comes from.
    int FReachUp = 0;
    int FReachDown = 0;

    TTextBands FMask;  // the letter mask, drawn a band at a time
    TRowRing FLetters; // letter pixels, 0 or 1
    TRowRing FAcross;  // letter pixels dilated along the row
    TRowRing FArea;    // the outline's square, letters included
    // Of each column, how many of the across rows within the outline's width of the
    // area row being made are set: at most 2 * radius + 1, which 16 bits hold at any
    // factor.
    std::vector<std::uint16_t> FCounts;
    int FNextLetter = 0;
    int FNextArea = 0;
    int FNextMark = 0;
    std::vector<std::uint8_t> FMarks;
};
