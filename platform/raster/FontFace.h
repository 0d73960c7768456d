#pragma once

#include "platform/raster/Font.h"
#include "platform/raster/Types.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class TBitmap;

// A font realised the way the old Windows text calls realised it: metrics from the
// face's OS/2 Windows ascent and descent, advances rounded per glyph from the face's
// own advance table, no kerning and no ligatures. Glyphs are FreeType's hinted
// monochrome bitmaps. All metrics are in whole pixels. Faces are cached and shared;
// a face may be used from several threads at once.
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
    const QString& Family() const { return FFamily; }
    bool FamilyFound() const { return FFamilyFound; }

    // Sum of the glyph advances of the text set as one line, each advance followed by
    // characterExtra more pixels (the platform's per-character extra spacing).
    int TextWidth(const QString& text, int characterExtra = 0) const;
    // Advance of every character (code point) of the text, in order.
    std::vector<int> Advances(const QString& text) const;
    // Draws one line with the top-left of its cell at (x, y) in the 0xFFRRGGBB pixel
    // value, underline and strike-out bars included, inside the clip rectangle (which
    // the surface also limits), each advance followed by characterExtra more pixels.
    // Returns the line's width.
    int DrawLine(TBitmap& surface, const TRect& clip, int x, int y, const QString& text, std::uint32_t pixel,
                 int characterExtra = 0) const;

    struct TFace;

private:
    struct TGlyphs {
        std::vector<int> FaceOfGlyph; // index into FFaces
        std::vector<std::uint32_t> Glyphs;
        std::vector<int> Advances;
    };

    explicit TFontFace(const TFont& font);
    TGlyphs Shape(const QString& text) const;
    std::u32string CodesFor(const QString& text) const;

    TFace& Face(std::size_t index) const;

    // The face itself first, then the fallbacks, each made when first needed.
    mutable std::mutex FFacesLock;
    mutable std::vector<std::shared_ptr<TFace>> FFaces;
    std::vector<QString> FFallbackFamilies;
    QString FFamily;
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
