#include "platform/raster/FixedPoint.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// Halves go up on both sides of zero, and a length near the top of HarfBuzz's 32-bit
// positions does not overflow on its way to pixels.
TEST(FixedPointTest, HalvesRoundUpAndLargeLengthsDoNotOverflow)
{
    const struct {
        std::int64_t Units;
        std::int64_t Pixels;
    } cases[] = {
        {0, 0}, {31, 0}, {32, 1}, {64, 1}, {95, 1}, {96, 2}, {-31, 0}, {-32, 0}, {-33, -1}, {-96, -1}, {-97, -2},
        {INT32_MAX, 33554432}, {INT32_MIN, -33554432}, {std::int64_t(1) << 40, std::int64_t(1) << 34},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Units);
        EXPECT_EQ(RoundedPixels(c.Units), c.Pixels);
    }
    // An em beyond the largest HarfBuzz scale is scaled in 64 bits.
    for (const std::int64_t pixels : {std::int64_t(-7), std::int64_t(0), std::int64_t(33554432), std::int64_t(1) << 40})
        EXPECT_EQ(RoundedPixels(Units26Dot6(pixels)), pixels);
    EXPECT_GT(Units26Dot6(INT32_MAX / 64 + 1), INT32_MAX);
}

} // namespace
