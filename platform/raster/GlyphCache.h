#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

// The bitmaps of one sized font file's glyphs, each drawn the first time it is asked
// for and kept for as long as the cache. A bitmap once made never changes or moves, so
// a reference to it stays good while other glyphs are added.
//
// The cache takes no lock of its own: its owner calls it under the lock that also keeps
// the FreeType face one thread's at a time, so that a glyph is looked up and, the first
// time, drawn under that one lock. A reference handed out may be read after the lock is
// released.
class TGlyphCache {
public:
    // A glyph as FreeType draws it in monochrome: one bit a pixel, most significant
    // first, rows Pitch bytes apart, top row first. All distances are in pixels.
    struct TBitmap {
        int Left = 0; // from the pen to the first column
        int Top = 0;  // from the baseline up to the first row
        int Width = 0;
        int Rows = 0;
        int Pitch = 0;
        // The rows that hold a set bit: from InkTop up to InkBottom (exclusive), both 0
        // when none does. The outline's box, which sets the rows, may pass the ink.
        int InkTop = 0;
        int InkBottom = 0;
        std::vector<unsigned char> Bits;
    };

    // The glyph's bitmap, made by draw(glyph, bitmap) on an empty one the first time
    // the glyph is asked for. A glyph that cannot be drawn is left empty and is not
    // drawn again.
    template <class TDraw>
    const TBitmap& Bitmap(std::uint32_t glyph, TDraw&& draw)
    {
        const auto [entry, made] = FBitmaps.try_emplace(glyph);
        if (made)
            draw(glyph, entry->second);
        return entry->second;
    }

private:
    // A node-based map: a bitmap keeps its address while others are added.
    std::unordered_map<std::uint32_t, TBitmap> FBitmaps;
};
