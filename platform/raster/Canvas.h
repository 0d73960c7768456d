#pragma once

#include "platform/raster/Color.h"
#include "platform/raster/Font.h"
#include "platform/raster/Types.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string_view>

class TBitmap;
class TFontFace;

enum TPenStyle : unsigned char { psSolid, psDash, psClear };
enum TPenMode : unsigned char { pmCopy };
enum TBrushStyle : unsigned char { bsSolid, bsClear };

// Raster operations of a rectangle copy, by their Windows codes.
enum TCopyMode : std::uint32_t {
    cmBlackness = 0x00000042,
    cmNotSrcErase = 0x001100A6,
    cmNotSrcCopy = 0x00330008,
    cmSrcErase = 0x00440328,
    cmDstInvert = 0x00550009,
    cmSrcInvert = 0x00660046,
    cmSrcAnd = 0x008800C6,
    cmMergePaint = 0x00BB0226,
    cmSrcCopy = 0x00CC0020,
    cmSrcPaint = 0x00EE0086,
    cmWhiteness = 0x00FF0062,
};

// DrawText flags the program uses.
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_TOP = 0x0000;
constexpr unsigned DT_WORDBREAK = 0x0010;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_EXPANDTABS = 0x0040;
constexpr unsigned DT_NOCLIP = 0x0100;
constexpr unsigned DT_NOPREFIX = 0x0800;

struct TPen {
    TColor Color = clBlack;
    TPenStyle Style = psSolid;
    TPenMode Mode = pmCopy;
    int Width = 1; // lines are always one pixel wide
};

class TBrush {
public:
    TColor Color() const { return FColor; }
    // Setting a colour makes a clear brush solid.
    void SetColor(TColor color) { FColor = color; FStyle = bsSolid; }
    TBrushStyle Style() const { return FStyle; }
    // A clear brush forgets its colour (it becomes white), as the old framework did.
    void SetStyle(TBrushStyle style) { FStyle = style; if (style == bsClear) FColor = clWhite; }

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

// A drawing surface bound to a bitmap: an off-screen one, or a control's backing store.
// Every operation clips to the surface. Colours are resolved when they are drawn, system
// colours through the classic table unless the canvas is set to the display one.
class TCanvas {
public:
    explicit TCanvas(TBitmap* surface);

    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    TPen& Pen() { return FPen; }
    TBrush& Brush() { return FBrush; }
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode mode) { FCopyMode = mode; }
    // Pixels added after each character's advance by TextOut, TextWidth and TextExtent
    // (SetTextCharacterExtra); may be negative.
    int TextCharacterExtra() const { return FTextCharacterExtra; }
    void SetTextCharacterExtra(int extra) { FTextCharacterExtra = extra; }
    TSystemColorTable SystemColors() const { return FSystemColors; }
    void SetSystemColors(TSystemColorTable table) { FSystemColors = table; }

    void FillRect(const TRect& rect);
    void Rectangle(const TRect& rect);
    void Rectangle(int left, int top, int right, int bottom) { Rectangle(Rect(left, top, right, bottom)); }
    void Polyline(std::span<const TPoint> points);
    void Polyline(std::initializer_list<TPoint> points) { Polyline(std::span<const TPoint>(points.begin(), points.size())); }
    void TextOut(int x, int y, std::u16string_view text);
    int TextWidth(std::u16string_view text) const;
    int TextHeight(std::u16string_view text) const;
    TSize TextExtent(std::u16string_view text) const;
    // Returns the height of the text drawn.
    int DrawText(std::u16string_view text, const TRect& rect, unsigned flags);
    // Every destination pixel := CopyMode(source pixel, destination pixel).
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect);

    // dest := mode(source, backdrop) pixel by pixel, in one pass: what a plain copy of
    // the backdrop followed by a copy of the source in that mode gives. dest may be the
    // backdrop or the source itself.
    static void CombineSurfaces(TBitmap& dest, const TBitmap& backdrop, const TBitmap& source, TCopyMode mode);

    TColor Pixel(int x, int y) const;
    int SurfaceWidth() const;
    int SurfaceHeight() const;

    // Called after each drawing operation (a control shows its canvas then).
    std::function<void()> OnChange;

private:
    std::shared_ptr<const TFontFace> Face() const;
    void FillSpan(int left, int top, int right, int bottom, TColor color);
    void DrawLine(TPoint from, TPoint to);
    void Changed();

    TBitmap* FSurface;
    TFont FFont;
    TPen FPen;
    TBrush FBrush;
    TCopyMode FCopyMode = cmSrcCopy;
    int FTextCharacterExtra = 0;
    TSystemColorTable FSystemColors = ctClassic;
};
