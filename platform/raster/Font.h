#pragma once

#include "platform/raster/Color.h"
#include "platform/raster/ScreenResolution.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Glossary (all in whole pixels unless stated):
//   em (ppem)         the font's design square scaled to the screen; a negative Height
//                     asks for this size directly.
//   ascent / descent  the face's Windows ascent and descent (OS/2 usWinAscent and
//                     usWinDescent) scaled to the em and rounded.
//   cell height       ascent + descent; a positive Height asks for this size.
//   character height  the em, the cell height less the internal leading.
//   advance           how far the pen moves after a glyph, rounded per glyph.
//   size              points at PixelsPerInch (96): Size = -MulDiv(Height, 72, 96).

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned; // a set of TFontStyle bits

enum TFontPitch : unsigned char { fpDefault, fpVariable, fpFixed };

constexpr int ANSI_CHARSET = 0;
constexpr int DEFAULT_CHARSET = 1;
constexpr int SYMBOL_CHARSET = 2;
constexpr int SHIFTJIS_CHARSET = 128;


// a * b / c in 64 bits, rounded to the nearest integer with halves away from zero;
// -1 when c is 0 or the result does not fit 32 bits.
int MulDiv(int a, int b, int c);
// The value limited to the range of an int, for a length summed in 64 bits (a line's
// width) where the caller works in ints.
int SaturatedInt(std::int64_t value);

// The logical font of a canvas or a control: what is asked for, not what is realised.
class TFont {
public:
    TFont();
    TFont(const TFont& other);
    TFont& operator=(const TFont& other);

    const std::u16string& Name() const { return FName; }
    void SetName(std::u16string_view name);
    int Height() const { return FHeight; }
    void SetHeight(int height);
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    int Charset() const { return FCharset; }
    void SetCharset(int charset);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch pitch);

    // Copies every attribute (not the change handler) and signals one change.
    void Assign(const TFont& source);
    bool SameAttributes(const TFont& other) const;

    // Called after any attribute has changed.
    std::function<void()> OnChange;

private:
    void Changed();

    std::u16string FName;
    int FHeight;
    TFontStyles FStyle = 0;
    TColor FColor = clBlack;
    int FCharset = DEFAULT_CHARSET;
    TFontPitch FPitch = fpDefault;
};
