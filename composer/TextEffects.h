#pragma once

#include "platform/raster/Color.h"

// Letter spacing, outline and drop shadow of a logo. All off by default, and a logo
// without them is exactly the logo as it always was.
struct TTextEffects {
    // Pixels added after each character's advance.
    static constexpr int MinSpacing = -20;
    static constexpr int MaxSpacing = 200;
    // The outline's width in pixels; 0 draws none.
    static constexpr int MaxOutlineWidth = 16;
    // Either offset of the shadow in pixels; (0, 0) draws none.
    static constexpr int MaxShadowOffset = 32;
    static constexpr TColor DefaultOutlineColor = clBlack;
    static constexpr TColor DefaultShadowColor = 0x00404040;

    int Spacing = 0;
    int OutlineWidth = 0;
    TColor OutlineColor = DefaultOutlineColor;
    int ShadowX = 0;
    int ShadowY = 0;
    TColor ShadowColor = DefaultShadowColor;

    bool HasOutline() const { return OutlineWidth > 0; }
    bool HasShadow() const { return ShadowX != 0 || ShadowY != 0; }
    // An outline or a shadow: a stage after the mix. Spacing is part of the text itself.
    bool HasStage() const { return HasOutline() || HasShadow(); }
    // Every value limited to its range.
    TTextEffects Clamped() const;
    // Every length multiplied by factor, for drawing at a supersampling factor.
    TTextEffects Scaled(int factor) const;
    bool operator==(const TTextEffects&) const = default;
};
