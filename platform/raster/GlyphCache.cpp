#include "platform/raster/GlyphCache.h"

TGlyphCache::TGlyphCache(std::size_t limitBytes)
    : FLimit(limitBytes)
{
}

void TGlyphCache::SetLimit(std::size_t limitBytes)
{
    FLimit = limitBytes;
    LetGoDownTo(FLimit);
}

void TGlyphCache::Keep(std::uint32_t glyph, TBitmapPtr bitmap)
{
    const std::size_t bytes = BytesOf(*bitmap);
    if (bytes > FLimit)
        return;
    LetGoDownTo(FLimit - bytes);
    TEntry& entry = FEntries.emplace(glyph, TEntry{std::move(bitmap), glyph}).first->second;
    LinkAsNewest(entry);
    FBytes += bytes;
}

void TGlyphCache::LetGoDownTo(std::size_t bytes)
{
    while (FBytes > bytes && FOldest != nullptr) {
        TEntry& oldest = *FOldest;
        const std::uint32_t glyph = oldest.Glyph;
        FBytes -= BytesOf(*oldest.Bitmap);
        Unlink(oldest);
        FEntries.erase(glyph);
    }
}
