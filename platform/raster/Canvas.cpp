#include "platform/raster/Canvas.h"

#include "platform/raster/Bitmap.h"
#include "platform/raster/DrawTextLayout.h"
#include "platform/raster/FontFace.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>

namespace {

struct TClip {
    int Left, Top, Right, Bottom;
    bool Empty() const { return Right <= Left || Bottom <= Top; }
};

TClip ClipTo(const TRect& rect, int width, int height)
{
    return TClip{std::max(rect.Left, 0), std::max(rect.Top, 0), std::min(rect.Right, width), std::min(rect.Bottom, height)};
}

// dest := mode(source, backdrop) for one row; backdrop may be dest itself. The switch
// sits outside the pixel loops.
void CombineRow(std::uint32_t* dest, const std::uint32_t* source, const std::uint32_t* backdrop, int count, TCopyMode mode)
{
    constexpr std::uint32_t opaque = 0xFF000000u;
    switch (mode) {
    case cmSrcCopy:
        std::copy(source, source + count, dest);
        return;
    case cmSrcErase:
        for (int i = 0; i < count; ++i) dest[i] = (source[i] & ~backdrop[i]) | opaque;
        return;
    case cmSrcPaint:
        for (int i = 0; i < count; ++i) dest[i] = source[i] | backdrop[i];
        return;
    case cmSrcInvert:
        for (int i = 0; i < count; ++i) dest[i] = (source[i] ^ backdrop[i]) | opaque;
        return;
    case cmSrcAnd:
        for (int i = 0; i < count; ++i) dest[i] = source[i] & backdrop[i];
        return;
    case cmNotSrcCopy:
        for (int i = 0; i < count; ++i) dest[i] = ~source[i] | opaque;
        return;
    case cmNotSrcErase:
        for (int i = 0; i < count; ++i) dest[i] = ~(source[i] | backdrop[i]) | opaque;
        return;
    case cmMergePaint:
        for (int i = 0; i < count; ++i) dest[i] = ~source[i] | backdrop[i] | opaque;
        return;
    case cmDstInvert:
        for (int i = 0; i < count; ++i) dest[i] = ~backdrop[i] | opaque;
        return;
    case cmBlackness:
        std::fill(dest, dest + count, opaque);
        return;
    case cmWhiteness:
        std::fill(dest, dest + count, 0xFFFFFFFFu);
        return;
    }
    std::copy(source, source + count, dest); // an operation this platform does not know copies
}

} // namespace

TCanvas::TCanvas(TBitmap* surface)
    : FSurface(surface)
{
}

std::shared_ptr<const TFontFace> TCanvas::Face() const
{
    return TFontFace::For(FFont);
}

int TCanvas::SurfaceWidth() const
{
    return FSurface->Width();
}

int TCanvas::SurfaceHeight() const
{
    return FSurface->Height();
}

void TCanvas::Changed()
{
    if (OnChange)
        OnChange();
}

void TCanvas::FillSpan(int left, int top, int right, int bottom, TColor color)
{
    const TClip clip = ClipTo(Rect(left, top, right, bottom), FSurface->Width(), FSurface->Height());
    if (clip.Empty())
        return;
    const std::uint32_t pixel = ColorToPixel(color, FSystemColors);
    const std::ptrdiff_t stride = FSurface->Stride();
    std::uint32_t* row = FSurface->ScanLine(clip.Top);
    // wmemset fills 32-bit units with the C library's vector code; std::fill of a
    // uint32_t is a scalar loop here.
    static_assert(sizeof(wchar_t) == sizeof(std::uint32_t));
    for (int y = clip.Top; y < clip.Bottom; ++y, row += stride)
        std::wmemset(reinterpret_cast<wchar_t*>(row + clip.Left), static_cast<wchar_t>(pixel), clip.Right - clip.Left);
}

void TCanvas::FillRect(const TRect& rect)
{
    if (FBrush.Style() == bsClear)
        return;
    FillSpan(rect.Left, rect.Top, rect.Right, rect.Bottom, FBrush.Color());
    Changed();
}

void TCanvas::Rectangle(const TRect& rect)
{
    if (rect.IsEmpty())
        return;
    if (FBrush.Style() != bsClear)
        FillSpan(rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1, FBrush.Color());
    if (FPen.Style != psClear) {
        const int right = rect.Right - 1;
        const int bottom = rect.Bottom - 1;
        DrawLine({rect.Left, rect.Top}, {right, rect.Top});
        DrawLine({right, rect.Top}, {right, bottom});
        DrawLine({right, bottom}, {rect.Left, bottom});
        DrawLine({rect.Left, bottom}, {rect.Left, rect.Top});
        // Each line leaves out its last point, which the next line draws; in a one-pixel
        // rectangle all four lines are empty, so its pixel is drawn on its own.
        if (right == rect.Left && bottom == rect.Top)
            DrawLine({rect.Left, rect.Top}, {rect.Left + 1, rect.Top});
    }
    Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points)
{
    if (FPen.Style == psClear)
        return;
    for (std::size_t i = 1; i < points.size(); ++i)
        DrawLine(points[i - 1], points[i]);
    Changed();
}

// Draws from `from` up to but not including `to`, as a line-to does.
void TCanvas::DrawLine(TPoint from, TPoint to)
{
    const std::uint32_t pixel = ColorToPixel(FPen.Color, FSystemColors);
    const int width = FSurface->Width();
    const int height = FSurface->Height();
    if (from.Y == to.Y && FPen.Style == psSolid) {
        const int left = from.X <= to.X ? from.X : to.X + 1;
        const int right = from.X <= to.X ? to.X : from.X + 1;
        FillSpan(left, from.Y, right, from.Y + 1, FPen.Color);
        return;
    }
    if (from.X == to.X && FPen.Style == psSolid) {
        const int top = from.Y <= to.Y ? from.Y : to.Y + 1;
        const int bottom = from.Y <= to.Y ? to.Y : from.Y + 1;
        FillSpan(from.X, top, from.X + 1, bottom, FPen.Color);
        return;
    }
    // General case (and dashed pens): step along the major axis.
    const int dx = std::abs(to.X - from.X);
    const int dy = std::abs(to.Y - from.Y);
    const int sx = from.X < to.X ? 1 : -1;
    const int sy = from.Y < to.Y ? 1 : -1;
    int error = dx - dy;
    int x = from.X;
    int y = from.Y;
    for (int step = 0; x != to.X || y != to.Y; ++step) {
        const bool dashOn = FPen.Style != psDash || step % 24 < 18;
        if (dashOn && x >= 0 && y >= 0 && x < width && y < height)
            FSurface->ScanLine(y)[x] = pixel;
        const int twice = 2 * error;
        if (twice > -dy) { error -= dy; x += sx; }
        if (twice < dx) { error += dx; y += sy; }
    }
}

void TCanvas::TextOut(int x, int y, std::u16string_view text)
{
    const auto face = Face();
    if (FBrush.Style() != bsClear)
        FillSpan(x, y, SaturatedInt(x + face->TextWidth(text, FTextCharacterExtra)), y + face->Height(), FBrush.Color());
    if (!FSurface->Empty() && !text.empty())
        face->DrawLine(*FSurface, Rect(0, 0, FSurface->Width(), FSurface->Height()), x, y, text,
                       ColorToPixel(FFont.Color(), FSystemColors), FTextCharacterExtra);
    Changed();
}

int TCanvas::TextWidth(std::u16string_view text) const
{
    return SaturatedInt(Face()->TextWidth(text, FTextCharacterExtra));
}

int TCanvas::TextHeight(std::u16string_view) const
{
    return Face()->Height();
}

TSize TCanvas::TextExtent(std::u16string_view text) const
{
    return TSize{TextWidth(text), TextHeight(text)};
}

int TCanvas::DrawText(std::u16string_view text, const TRect& rect, unsigned flags)
{
    const auto face = Face();
    const TDrawTextLayout layout(*face, text, rect.Width(), flags);
    if (FSurface->Empty())
        return layout.Height();
    const std::uint32_t pixel = ColorToPixel(FFont.Color(), FSystemColors);
    const TRect clip = (flags & DT_NOCLIP) ? Rect(0, 0, FSurface->Width(), FSurface->Height()) : rect;
    // Every fill below is clipped as the glyphs are.
    const auto fill = [&](int left, int top, int width, int height, TColor color) {
        const TClip part = ClipTo(Rect(std::max(left, clip.Left), std::max(top, clip.Top),
                                       std::min(left + width, clip.Right), std::min(top + height, clip.Bottom)),
                                  FSurface->Width(), FSurface->Height());
        if (!part.Empty())
            FillSpan(part.Left, part.Top, part.Right, part.Bottom, color);
    };
    int y = rect.Top;
    for (const TDrawTextLayout::TLine& line : layout.Lines()) {
        for (const TDrawTextLayout::TSegment& segment : line.Segments) {
            if (FBrush.Style() != bsClear)
                fill(rect.Left + segment.X, y, segment.Width, face->Height(), FBrush.Color());
            face->DrawLine(*FSurface, clip, rect.Left + segment.X, y, segment.Text, pixel);
        }
        for (const TDrawTextLayout::TUnderscore& mark : line.Underscores)
            fill(rect.Left + mark.X, y + face->Ascent() + 1, std::max(0, mark.Width - 1), 1, FFont.Color());
        y += face->Height();
        if (y > rect.Bottom)
            break;
    }
    Changed();
    return layout.Height();
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect)
{
    const TBitmap& from = *source.FSurface;
    int width = std::min(dest.Width(), sourceRect.Width());
    int height = std::min(dest.Height(), sourceRect.Height());
    int dx = dest.Left, dy = dest.Top, sx = sourceRect.Left, sy = sourceRect.Top;
    // Clip both rectangles to their surfaces, moving the other one along.
    const int skipX = std::max({0, -dx, -sx});
    const int skipY = std::max({0, -dy, -sy});
    dx += skipX; sx += skipX; width -= skipX;
    dy += skipY; sy += skipY; height -= skipY;
    width = std::min({width, FSurface->Width() - dx, from.Width() - sx});
    height = std::min({height, FSurface->Height() - dy, from.Height() - sy});
    if (width <= 0 || height <= 0)
        return;
    const std::ptrdiff_t destStride = FSurface->Stride();
    const std::ptrdiff_t sourceStride = from.Stride();
    std::uint32_t* destRow = FSurface->ScanLine(dy) + dx;
    const std::uint32_t* sourceRow = from.ScanLine(sy) + sx;
    for (int row = 0; row < height; ++row, destRow += destStride, sourceRow += sourceStride)
        CombineRow(destRow, sourceRow, destRow, width, FCopyMode);
    Changed();
}

TColor TCanvas::Pixel(int x, int y) const
{
    return FSurface->Pixel(x, y);
}

void TCanvas::CombineSurfaces(TBitmap& dest, const TBitmap& backdrop, const TBitmap& source, TCopyMode mode)
{
    const int width = std::min({dest.Width(), backdrop.Width(), source.Width()});
    const int height = std::min({dest.Height(), backdrop.Height(), source.Height()});
    if (width <= 0 || height <= 0)
        return;
    for (int row = 0; row < height; ++row)
        CombineRow(dest.ScanLine(row), source.ScanLine(row), backdrop.ScanLine(row), width, mode);
}
