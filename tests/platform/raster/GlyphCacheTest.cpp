#include "platform/raster/GlyphCache.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Draws a glyph as a bitmap one pixel wide whose only byte is the glyph's number, and
// counts how often each glyph was drawn. Glyph 0 cannot be drawn.
struct TCountingDraw {
    std::map<std::uint32_t, int>* Draws;

    void operator()(std::uint32_t glyph, TGlyphCache::TBitmap& bitmap) const
    {
        ++(*Draws)[glyph];
        if (glyph == 0)
            return;
        bitmap.Width = 1;
        bitmap.Rows = 1;
        bitmap.Pitch = 1;
        bitmap.Bits = {static_cast<unsigned char>(glyph)};
    }
};

TEST(GlyphCacheTest, EachGlyphIsDrawnOnceEvenWhenItCannotBe)
{
    TGlyphCache cache;
    std::map<std::uint32_t, int> draws;
    const TCountingDraw draw{&draws};
    for (const std::uint32_t glyph : {5u, 7u, 5u, 0u, 7u, 0u, 5u}) {
        SCOPED_TRACE(glyph);
        const TGlyphCache::TBitmap& bitmap = cache.Bitmap(glyph, draw);
        if (glyph == 0) {
            EXPECT_EQ(bitmap.Width, 0);
            EXPECT_TRUE(bitmap.Bits.empty());
        } else {
            EXPECT_EQ(bitmap.Bits, std::vector<unsigned char>{static_cast<unsigned char>(glyph)});
        }
    }
    EXPECT_EQ(draws, (std::map<std::uint32_t, int>{{0, 1}, {5, 1}, {7, 1}}));
}

// The text drawer reads a bitmap after the lock that guards the cache is released,
// while other threads may add glyphs.
TEST(GlyphCacheTest, ABitmapKeepsItsPlaceAndContentWhileThousandsOfOthersAreAdded)
{
    TGlyphCache cache;
    std::map<std::uint32_t, int> draws;
    const TCountingDraw draw{&draws};
    const TGlyphCache::TBitmap& first = cache.Bitmap(42, draw);
    const unsigned char* bits = first.Bits.data();
    for (std::uint32_t glyph = 1000; glyph < 11000; ++glyph)
        cache.Bitmap(glyph, draw);
    EXPECT_EQ(&cache.Bitmap(42, draw), &first);
    EXPECT_EQ(first.Bits.data(), bits);
    EXPECT_EQ(first.Bits, std::vector<unsigned char>{42});
    EXPECT_EQ(draws[42], 1);
}

} // namespace
