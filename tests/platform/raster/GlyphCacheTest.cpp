#include "platform/raster/GlyphCache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

namespace {

// Draws a glyph as a bitmap of glyph % 100 bytes, each the glyph's number, and counts
// how often each glyph was drawn. Glyph 0 cannot be drawn.
struct TCountingDraw {
    std::map<std::uint32_t, int>* Draws;

    void operator()(std::uint32_t glyph, TGlyphCache::TBitmap& bitmap) const
    {
        ++(*Draws)[glyph];
        if (glyph == 0)
            return;
        bitmap.Width = 1;
        bitmap.Rows = static_cast<int>(std::max(glyph % 100, 1u));
        bitmap.Pitch = 1;
        bitmap.Bits.assign(std::size_t(bitmap.Rows), static_cast<unsigned char>(glyph));
    }
};

bool DrawnAsItself(const TGlyphCache::TBitmap& bitmap, std::uint32_t glyph)
{
    return !bitmap.Bits.empty() && bitmap.Bits == std::vector<unsigned char>(bitmap.Bits.size(), static_cast<unsigned char>(glyph));
}

TEST(GlyphCacheTest, EachGlyphIsDrawnOnceEvenWhenItCannotBe)
{
    TGlyphCache cache(1 << 20);
    std::map<std::uint32_t, int> draws;
    const TCountingDraw draw{&draws};
    for (const std::uint32_t glyph : {5u, 7u, 5u, 0u, 7u, 0u, 5u}) {
        SCOPED_TRACE(glyph);
        const TGlyphCache::TBitmapPtr bitmap = cache.Bitmap(glyph, draw);
        if (glyph == 0) {
            EXPECT_EQ(bitmap->Width, 0);
            EXPECT_TRUE(bitmap->Bits.empty());
        } else {
            EXPECT_TRUE(DrawnAsItself(*bitmap, glyph));
        }
    }
    EXPECT_EQ(draws, (std::map<std::uint32_t, int>{{0, 1}, {5, 1}, {7, 1}}));
}

// Within its limit the cache keeps every bitmap where it was made.
TEST(GlyphCacheTest, ABitmapKeepsItsPlaceAndContentWhileThousandsOfOthersAreAdded)
{
    TGlyphCache cache(8 << 20);
    std::map<std::uint32_t, int> draws;
    const TCountingDraw draw{&draws};
    const TGlyphCache::TBitmap* first = cache.Bitmap(42, draw).get();
    for (std::uint32_t glyph = 1000; glyph < 11000; ++glyph)
        cache.Bitmap(glyph, draw);
    EXPECT_EQ(cache.Bitmap(42, draw).get(), first);
    EXPECT_TRUE(DrawnAsItself(*first, 42));
    EXPECT_EQ(draws[42], 1);
}

// Glyphs of every size given to caches of several limits: the bytes kept never pass the
// limit, and a glyph asked for between the others is never drawn again.
TEST(GlyphCacheTest, ACacheGivenMoreThanItsLimitStaysUnderItAndKeepsTheRecentlyUsed)
{
    for (const std::size_t entries : {3u, 10u, 100u}) {
        SCOPED_TRACE(entries);
        TGlyphCache cache(entries * (TGlyphCache::EntryBytes + 100));
        std::map<std::uint32_t, int> draws;
        const TCountingDraw draw{&draws};
        for (std::uint32_t glyph = 1; glyph < 3000; ++glyph) {
            ASSERT_TRUE(DrawnAsItself(*cache.Bitmap(glyph, draw), glyph));
            ASSERT_TRUE(DrawnAsItself(*cache.Bitmap(299, draw), 299));
            ASSERT_LE(cache.Bytes(), cache.Limit());
        }
        EXPECT_EQ(draws[299], 1);
        // The least recently used were let go and are drawn again; the last one is kept.
        EXPECT_EQ(draws[1], 1);
        cache.Bitmap(1, draw);
        EXPECT_EQ(draws[1], 2);
        cache.Bitmap(2999, draw);
        EXPECT_EQ(draws[2999], 1);
        // A lower limit keeps the most recently used that fit it.
        cache.SetLimit(TGlyphCache::EntryBytes + 100);
        EXPECT_LE(cache.Bytes(), cache.Limit());
        cache.Bitmap(2999, draw);
        cache.Bitmap(299, draw);
        EXPECT_EQ(draws[2999], 1);
        EXPECT_EQ(draws[299], 2);
    }
}

// A caller reads its bitmap after the lock that guards the cache is released, while
// other glyphs push it out: it keeps the bitmap alive and unchanged.
TEST(GlyphCacheTest, ABitmapHeldByACallerSurvivesItsEviction)
{
    TGlyphCache cache(4 * TGlyphCache::EntryBytes);
    std::map<std::uint32_t, int> draws;
    const TCountingDraw draw{&draws};
    const TGlyphCache::TBitmapPtr held = cache.Bitmap(42, draw);
    for (std::uint32_t glyph = 1000; glyph < 1100; ++glyph)
        cache.Bitmap(glyph, draw);
    EXPECT_TRUE(DrawnAsItself(*held, 42));
    EXPECT_NE(cache.Bitmap(42, draw), held);
    EXPECT_EQ(draws[42], 2);
    // A bitmap larger than the whole limit is handed out but not kept.
    TGlyphCache small(TGlyphCache::EntryBytes + 10);
    EXPECT_TRUE(DrawnAsItself(*small.Bitmap(50, draw), 50));
    EXPECT_EQ(small.Bytes(), 0u);
}

} // namespace
