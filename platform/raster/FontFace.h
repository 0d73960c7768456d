#pragma once

#include "platform/raster/Font.h"
#include "platform/raster/GlyphCache.h"
#include "platform/raster/Types.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TBitmap;
class TFallbackChain;

// A font realised at one size the way the old Windows text calls realised it: metrics
// from the OS/2 Windows ascent and descent of its own file, advances rounded per glyph
// from the file's advance table, no kerning and no ligatures. Glyphs are FreeType's
// hinted monochrome bitmaps. All metrics are in whole pixels. Realised faces are cached
// and shared; a face may be used from several threads at once.
//
// A face draws from several font files, each opened at the face's em (TSizedFontFile).
// A character its own file lacks is drawn from the first file that has it
// (TFallbackChain: the fixed stand-ins, then fontconfig's list for the requested
// family), at the same em and style and on the same baseline; a character no installed
// face has is drawn as the own file's missing-glyph box. Text that must be shaped or
// reordered (TTextShaper::NeedsShaping) is laid out by TTextShaper; any other text
// keeps the per-character layout above, and so do the characters of shaped text that
// fall to a file HarfBuzz cannot read (Type 1).
//
// Glossary: em, the pixels per em the face is scaled to; ascent and descent, pixels
// above and below the baseline; height, ascent + descent (the text cell); advance,
// the pixels the pen moves after a glyph.
class TFontFace {
public:
    static std::shared_ptr<const TFontFace> For(const TFont& font);

    ~TFontFace();
    TFontFace(const TFontFace&) = delete;
    TFontFace& operator=(const TFontFace&) = delete;

    int Em() const { return FEm; }
    int Ascent() const { return FAscent; }
    int Descent() const { return FDescent; }
    int Height() const { return FAscent + FDescent; }
    int AveCharWidth() const { return FAveCharWidth; }
    bool IsSymbol() const { return FSymbol; }
    // The family realised, and whether it is the one asked for (or its stand-in).
    const std::u16string& Family() const { return FFamily; }
    bool FamilyFound() const { return FFamilyFound; }

    // Sum of the glyph advances of the text set as one line, each advance followed by
    // characterExtra more pixels (the platform's per-character extra spacing; in shaped
    // text, after each cluster). In 64 bits: a long line passes what an int holds.
    std::int64_t TextWidth(std::u16string_view text, int characterExtra = 0) const;
    // How far the ink of the line's glyphs reaches past its cell, in pixels: above the
    // cell's top and below its bottom, 0 where it stays inside. Marks and tails, often
    // from a fallback face, may reach past the own file's ascent and descent. Measured on
    // the glyphs' bitmaps, which drawing the line draws anyway.
    struct TInkReach {
        int Above = 0;
        int Below = 0;
    };
    TInkReach InkReach(std::u16string_view text) const;
    // Advance of every glyph of the text in drawing order: one glyph a character
    // (code point) unless the text is shaped.
    std::vector<int> Advances(std::u16string_view text) const;
    // The characters of the text that no installed face has, each once, in the order
    // met; they are drawn as boxes. Format controls and variation selectors, which
    // are not drawn, and lone surrogate halves, which are no characters, are never
    // listed.
    std::vector<char32_t> MissingCharacters(std::u16string_view text) const;
    // Draws one line with the top-left of its cell at (x, y) in the 0xFFRRGGBB pixel
    // value, underline and strike-out bars included, inside the clip rectangle (which
    // the surface also limits), each advance followed by characterExtra more pixels.
    // Returns the line's width.
    std::int64_t DrawLine(TBitmap& surface, const TRect& clip, int x, int y, std::u16string_view text, std::uint32_t pixel,
                          int characterExtra = 0) const;

private:
    struct TGlyphs {
        std::vector<int> FileOfGlyph; // the index of the glyph's file in FFiles
        std::vector<std::uint32_t> Glyphs;
        std::vector<int> Advances;
        std::vector<std::int64_t> X; // origin of each glyph, pixels from the line's left end
        std::vector<int> Raise;      // pixels above the baseline; empty when all are 0
        // The cluster (a character, or what shaping made of joined characters) of each
        // glyph, counted from the left; extra character spacing goes between clusters.
        std::vector<int> ClusterOf;
        int Clusters = 0;
        std::int64_t Width = 0;
    };

    std::vector<TGlyphCache::TBitmapPtr> Bitmaps(const TGlyphs& glyphs) const;
    explicit TFontFace(const TFont& font);
    TGlyphs Shape(std::u16string_view text) const;
    TGlyphs ShapedGlyphs(const std::u32string& codes) const;
    std::u32string CodesFor(std::u16string_view text) const;

    // The files the face draws from, its own first.
    std::unique_ptr<TFallbackChain> FFiles;
    std::u16string FFamily;
    bool FFamilyFound = true;
    int FEm = 0;
    int FAscent = 0;
    int FDescent = 0;
    int FAveCharWidth = 0;
    int FUnderlineOffset = 0; // centre below the baseline
    int FUnderlineThickness = 1;
    int FStrikeOutOffset = 0; // centre above the baseline
    int FStrikeOutThickness = 1;
    bool FSymbol = false;
    TFontStyles FStyle = 0;
};
