#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

// The bitmaps of one sized font file's glyphs, each drawn the first time it is asked
// for and kept while it is among the most recently used: when the bitmaps kept would
// take more bytes than the cache's limit, the least recently used are let go. A bitmap
// is handed out as shared ownership of an immutable bitmap, so one that a caller still
// draws from lives on after the cache has let it go, and is freed by its last holder.
//
// The cache takes no lock of its own: its owner calls it under the lock that also keeps
// the FreeType face one thread's at a time, so that a glyph is looked up and, the first
// time, drawn under that one lock. A bitmap handed out may be read after the lock is
// released, by any number of threads at once.
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
    using TBitmapPtr = std::shared_ptr<const TBitmap>;

    // What a kept bitmap costs besides its bits: the bitmap and its shared ownership,
    // and its places in the map and in the order of use. Empty glyphs count too.
    static constexpr std::size_t EntryBytes = 192;

    explicit TGlyphCache(std::size_t limitBytes);

    // Lets go of the least recently used bitmaps until the rest fit the new limit.
    void SetLimit(std::size_t limitBytes);
    std::size_t Limit() const { return FLimit; }
    // The bytes the bitmaps kept take, EntryBytes each included.
    std::size_t Bytes() const { return FBytes; }

    // The glyph's bitmap, made by draw(glyph, bitmap) on an empty one when the glyph is
    // not kept. A glyph that cannot be drawn is left empty, and kept so like any other;
    // a bitmap larger than the whole limit is handed out without being kept.
    template <class TDraw>
    TBitmapPtr Bitmap(std::uint32_t glyph, TDraw&& draw)
    {
        const auto found = FEntries.find(glyph);
        if (found != FEntries.end()) {
            TEntry& entry = found->second;
            Unlink(entry);
            LinkAsNewest(entry);
            return entry.Bitmap;
        }
        auto made = std::make_shared<TBitmap>();
        draw(glyph, *made);
        Keep(glyph, made);
        return made;
    }

private:
    // A kept bitmap, linked into the order of use. Map nodes never move, so the links
    // stay good while others are added, and need no allocation of their own.
    struct TEntry {
        TBitmapPtr Bitmap;
        std::uint32_t Glyph = 0;
        TEntry* Newer = nullptr;
        TEntry* Older = nullptr;
    };

    static std::size_t BytesOf(const TBitmap& bitmap) { return EntryBytes + bitmap.Bits.size(); }
    void Keep(std::uint32_t glyph, TBitmapPtr bitmap);
    // Lets go of the least recently used bitmaps until those kept take at most bytes.
    void LetGoDownTo(std::size_t bytes);

    void Unlink(TEntry& entry)
    {
        (entry.Newer ? entry.Newer->Older : FNewest) = entry.Older;
        (entry.Older ? entry.Older->Newer : FOldest) = entry.Newer;
    }
    void LinkAsNewest(TEntry& entry)
    {
        entry.Newer = nullptr;
        entry.Older = FNewest;
        (FNewest ? FNewest->Newer : FOldest) = &entry;
        FNewest = &entry;
    }

    std::size_t FLimit = 0;
    std::size_t FBytes = 0;
    std::unordered_map<std::uint32_t, TEntry> FEntries;
    TEntry* FNewest = nullptr;
    TEntry* FOldest = nullptr;
};
