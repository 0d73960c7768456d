#pragma once

#include "platform/base/ByteSink.h"

#include <cstddef>
#include <string>

class TBitmap;

// The bytes of an uncompressed Windows BMP file, 24 bits a pixel, rows stored
// bottom first, 96 dpi. An empty bitmap gives a valid file of 0 x 0 pixels (the 54
// header bytes alone), which the format allows, so saving never fails for want of
// pixels. Throws EImageSizeError when the file would exceed the 4 GiB the header can
// count.
std::string EncodeBmp24(const TBitmap& bitmap);
// The same into a buffer the caller keeps, so that a batch reuses its memory.
void EncodeBmp24(const TBitmap& bitmap, std::string& bytes);
// The same handed to sink as it is made: the headers with the first rows, then runs of
// whole rows of at most BmpRunBytes (at least one row), so that a file is written
// without a buffer of its size. The size is checked before any byte goes out.
void EncodeBmp24(const TBitmap& bitmap, const TByteSink& sink);

// Small enough for the run to stay in the cache while the sink copies it out.
constexpr std::size_t BmpRunBytes = 64 * 1024;
