#pragma once

#include "platform/raster/Font.h"
#include "platform/raster/FontTables.h"
#include "platform/raster/GlyphCache.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

struct FT_FaceRec_;
struct FT_CharMapRec_;
struct TFontFile;
struct hb_font_t;

// One face of one font file, opened by FreeType and set to one em: the characters it
// has, its advances, the bitmaps of its glyphs and a HarfBuzz font for shaping. The
// values of its own tables are read when it opens. Once its em is set it may be used
// from several threads at once: FreeType's face handle is taken by one thread at a
// time, under the file's lock.
//
// A file that cannot be opened, or cannot take the em, has no glyphs: every character
// looks up glyph 0, every advance and bitmap is empty.
class TSizedFontFile {
public:
    // Ascent and descent in font units, both positive.
    struct TVerticalUnits {
        int Ascent = 0;
        int Descent = 0;
    };

    // requested is the family asked for: a PostScript face is addressed by byte codes
    // only when that family names a symbol face. An italic style slants the glyphs of a
    // face that has no italic of its own.
    TSizedFontFile(const TFontFile& file, std::u16string_view requested, TFontStyles style);
    ~TSizedFontFile();
    TSizedFontFile(const TSizedFontFile&) = delete;
    TSizedFontFile& operator=(const TSizedFontFile&) = delete;

    // Sets the pixels per em, once, before anything else is asked, and the limit of
    // the glyph bitmaps kept for that em.
    void SetEm(int em);

    const TFontTables& Tables() const { return FTables; }
    // The OS/2 Windows ascent and descent, or FreeType's ascender and descender where
    // the table gives neither.
    TVerticalUnits VerticalUnits() const;

    // The glyph of one character: from the Unicode map, then, in a face with a symbol
    // map, from that map and at U+F000 + byte. Tab and no-break space take the space.
    // 0 when the file lacks it.
    std::uint32_t GlyphOf(char32_t code);
    // Pixels the pen moves after the glyph: the advance table's width rounded to the
    // em, or FreeType's hinted advance for a face without the table. Inline: it is
    // asked for every glyph laid out.
    int Advance(std::uint32_t glyph)
    {
        const std::vector<std::uint16_t>& advances = FTables.AdvanceUnits;
        if (advances.empty())
            return HintedAdvance(glyph);
        // Font units times the em in 64 bits: a 16-bit width times a large em overflows an int.
        const std::int64_t units = advances[std::min<std::size_t>(glyph, advances.size() - 1)];
        const std::int64_t upem = FTables.UnitsPerEm;
        return static_cast<int>(std::min<std::int64_t>((units * FEm + upem / 2) / upem, INT_MAX));
    }
    // The HarfBuzz font on the same file at the same em, made when first needed; null
    // when HarfBuzz cannot read the file (a Type 1 or bitmap-only face).
    hb_font_t* ShaperFont();
    // The glyph's monochrome bitmap, drawn when it is not kept; the file keeps the most
    // recently used bitmaps up to its limit. The holder may read it without the lock.
    TGlyphCache::TBitmapPtr Bitmap(std::uint32_t glyph);
    // The bitmaps of count glyphs, under one taking of the lock.
    void Bitmaps(const std::uint32_t* glyphs, std::size_t count, TGlyphCache::TBitmapPtr* bitmaps);
    // Keeps glyph bitmaps of at most this many bytes, letting go of the least recently
    // used beyond it.
    void LimitGlyphs(std::size_t bytes);
    // The bytes the glyph bitmaps kept take.
    std::size_t GlyphBytes();

private:
    int HintedAdvance(std::uint32_t glyph);
    void DrawGlyph(std::uint32_t glyph, TGlyphCache::TBitmap& bitmap);

    FT_FaceRec_* FHandle = nullptr; // FreeType's face
    std::string FPath;
    int FIndex = 0; // the face within the file
    int FEm = 0;
    FT_CharMapRec_* FUnicodeMap = nullptr;
    FT_CharMapRec_* FSymbolMap = nullptr;
    bool FSymbolAddressing = false; // byte codes may also be found at U+F000 + byte
    bool FObliquen = false;
    TFontTables FTables;

    std::mutex FLock; // FreeType's face is one thread's at a time, and the glyph cache too
    TGlyphCache FGlyphs;

    // The shaper's own font on the same file, made when first needed. It needs no lock.
    std::once_flag FShaperMade;
    hb_font_t* FShaper = nullptr;
};
