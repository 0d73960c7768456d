#pragma once

#include <QByteArray>

class TBitmap;

// The bitmap as an 8-bit RGB PNG file, through libpng. Throws Exception when libpng
// fails.
QByteArray EncodeRenderPng(const TBitmap& bitmap);
