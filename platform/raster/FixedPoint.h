#pragma once

#include <cstdint>

// FreeType and HarfBuzz give lengths in 26.6 fixed point: 1/64 pixel units. A length
// becomes whole pixels with halves rounded up (towards +infinity), as the desktop's
// text engine rounds advances and offsets. 64 bits: a long line's sums pass an int.
constexpr std::int64_t RoundedPixels(std::int64_t units26Dot6)
{
    return (units26Dot6 + 32) >> 6;
}

// Whole pixels as a 26.6 length.
constexpr std::int64_t Units26Dot6(std::int64_t pixels)
{
    return pixels * 64;
}
