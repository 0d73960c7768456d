#pragma once

#include <cstdint>
#include <string>

class TBitmap;

// Which pixels of an image a PNG file marks as transparent.
struct TPngTransparency {
    // Pixels whose key pixel equals KeyPixel (0xFFRRGGBB) get alpha 0, the others 255.
    std::uint32_t KeyPixel = 0;
    // The bitmap the key pixels are read from, of the image's size; nullptr reads them
    // from the image itself.
    const TBitmap* KeySource = nullptr;
};

// The bytes of a PNG file of bitmap: 8-bit RGB, or 8-bit RGBA when transparency is
// given. Only the bitmap's size and rows are read. An empty bitmap gives nothing to
// encode (PNG has no 0 x 0 image) and throws EImageSizeError, as does a key source of
// another size. Throws Exception when the encoder fails.
std::string EncodePng(const TBitmap& bitmap);
std::string EncodePng(const TBitmap& bitmap, const TPngTransparency& transparency);
