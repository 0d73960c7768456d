#pragma once

#include <QImage>

class TBitmap;

// The bitmap's pixels seen as a QImage without copying, for drawing it on a window.
// Valid while the bitmap lives and keeps its size; a null image for an empty bitmap.
QImage BitmapImage(const TBitmap& bitmap);
// The same, with the unused top byte read as premultiplied alpha: pixels the canvas drew
// (top byte FF) are opaque, pixels filled with 0 are transparent.
QImage BitmapImageWithAlpha(const TBitmap& bitmap);
// A QImage with its own copy of the pixels, for keeping (the clipboard, a snapshot).
QImage BitmapImageCopy(const TBitmap& bitmap);
