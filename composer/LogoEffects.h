#pragma once

#include "composer/LogoParams.h"
#include "platform/raster/Types.h"

#include <cstdint>

class TBitmap;

// How many pixels the outline and the shadow add on each side of a logo.
struct TEffectGrowth {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// The outline and the drop shadow, a stage over the mixed logo. Both come from the
// letter mask: the pixels the text drawing sets (glyphs, underline and strike-out
// bars), found by drawing the text once more in white on black. The mask is not taken
// from the text layer's colours, which would lose every letter whose colour equals the
// background colour. The outline's neighbourhood is square: a pixel belongs to an
// outline of width W when a letter pixel lies at most W pixels away horizontally and
// at most W vertically (a dilation that splits into a row pass and a column pass). The
// shadow is the letters with their outline, moved by the offset. Over the mix the
// shadow goes first, then the outline, and the letter pixels keep the mix's colours.
// TEffectMarker marks the rows.
class TLogoEffects {
public:
    // The letter mask is drawn a band of rows at a time, so that a large logo needs no
    // more than about this many mask pixels at once.
    static constexpr long long BandPixels = 1024LL * 1024;

    static TEffectGrowth Growth(const TTextEffects& effects);

    // Sets the shadow and outline pixels of one row from its marks (TEffectMark).
    static void PaintRow(const std::uint8_t* marks, std::uint32_t* row, int width, std::uint32_t shadowPixel,
                         std::uint32_t outlinePixel);

    // The shadow and the outline of the whole logo, its text's cell at origin (the
    // composer's TextOrigin), over composite (unless it is null), and opaqueKey made
    // from the text layer with those pixels in a colour other than the background.
    static void Apply(const TLogoParams& params, TPoint origin, const TBitmap& text, TBitmap* composite,
                      TBitmap& opaqueKey);
};
