#include "platform/Canvas.h"

#include "platform/DrawTextLayout.h"
#include "platform/FontFace.h"

#include <QPainter>
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

TCanvas::TCanvas(QImage* surface)
    : FSurface(surface)
{
}

const TFontFace& TCanvas::Face() const
{
    return TFontFace::For(FFont);
}

void TCanvas::Changed()
{
    if (OnChange)
        OnChange();
}

void TCanvas::FillSpan(int left, int top, int right, int bottom, TColor color)
{
    const TClip clip = ClipTo(Rect(left, top, right, bottom), FSurface->width(), FSurface->height());
    if (clip.Empty())
        return;
    const std::uint32_t pixel = RGBToPixel(ColorToRGB(color));
    const qsizetype stride = FSurface->bytesPerLine() / 4;
    auto* row = reinterpret_cast<std::uint32_t*>(FSurface->bits()) + clip.Top * stride;
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
    const std::uint32_t pixel = RGBToPixel(ColorToRGB(FPen.Color));
    const int width = FSurface->width();
    const int height = FSurface->height();
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
            reinterpret_cast<std::uint32_t*>(FSurface->scanLine(y))[x] = pixel;
        const int twice = 2 * error;
        if (twice > -dy) { error -= dy; x += sx; }
        if (twice < dx) { error += dx; y += sy; }
    }
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    const TFontFace& face = Face();
    if (FBrush.Style() != bsClear)
        FillSpan(x, y, x + face.TextWidth(text), y + face.Height(), FBrush.Color());
    if (!FSurface->isNull() && !text.isEmpty()) {
        QPainter painter(FSurface);
        painter.setPen(QColor::fromRgb(RGBToPixel(ColorToRGB(FFont.Color()))));
        face.DrawLine(painter, x, y, text);
    }
    Changed();
}

int TCanvas::TextWidth(const QString& text) const
{
    return Face().TextWidth(text);
}

int TCanvas::TextHeight(const QString&) const
{
    return Face().Height();
}

TSize TCanvas::TextExtent(const QString& text) const
{
    return TSize{TextWidth(text), TextHeight(text)};
}

int TCanvas::DrawText(const QString& text, const TRect& rect, unsigned flags)
{
    const TFontFace& face = Face();
    const TDrawTextLayout layout(face, text, rect.Width(), flags);
    if (FSurface->isNull())
        return layout.Height();
    QPainter painter(FSurface);
    const QColor color = QColor::fromRgb(RGBToPixel(ColorToRGB(FFont.Color())));
    painter.setPen(color);
    if (!(flags & DT_NOCLIP))
        painter.setClipRect(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()));
    int y = rect.Top;
    for (const TDrawTextLayout::TLine& line : layout.Lines()) {
        for (const TDrawTextLayout::TSegment& segment : line.Segments) {
            if (FBrush.Style() != bsClear)
                painter.fillRect(QRect(rect.Left + segment.X, y, segment.Width, face.Height()), QColor::fromRgb(RGBToPixel(ColorToRGB(FBrush.Color()))));
            face.DrawLine(painter, rect.Left + segment.X, y, segment.Text);
        }
        for (const TDrawTextLayout::TUnderscore& mark : line.Underscores)
            painter.fillRect(QRect(rect.Left + mark.X, y + face.Ascent() + 1, std::max(0, mark.Width - 1), 1), color);
        y += face.Height();
        if (y > rect.Bottom)
            break;
    }
    painter.end();
    Changed();
    return layout.Height();
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect)
{
    const QImage& from = *source.FSurface;
    int width = std::min(dest.Width(), sourceRect.Width());
    int height = std::min(dest.Height(), sourceRect.Height());
    int dx = dest.Left, dy = dest.Top, sx = sourceRect.Left, sy = sourceRect.Top;
    // Clip both rectangles to their surfaces, moving the other one along.
    const int skipX = std::max({0, -dx, -sx});
    const int skipY = std::max({0, -dy, -sy});
    dx += skipX; sx += skipX; width -= skipX;
    dy += skipY; sy += skipY; height -= skipY;
    width = std::min({width, FSurface->width() - dx, from.width() - sx});
    height = std::min({height, FSurface->height() - dy, from.height() - sy});
    if (width <= 0 || height <= 0)
        return;
    const qsizetype destStride = FSurface->bytesPerLine() / 4;
    const qsizetype sourceStride = from.bytesPerLine() / 4;
    auto* destRow = reinterpret_cast<std::uint32_t*>(FSurface->bits()) + dy * destStride + dx;
    auto* sourceRow = reinterpret_cast<const std::uint32_t*>(from.constBits()) + sy * sourceStride + sx;
    for (int row = 0; row < height; ++row, destRow += destStride, sourceRow += sourceStride)
        CombineRow(destRow, sourceRow, destRow, width, FCopyMode);
    Changed();
}

TColor TCanvas::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= FSurface->width() || y >= FSurface->height())
        return clNone;
    return PixelToRGB(reinterpret_cast<const std::uint32_t*>(FSurface->constScanLine(y))[x]);
}

void TCanvas::CombineSurfaces(QImage& dest, const QImage& backdrop, const QImage& source, TCopyMode mode)
{
    const int width = std::min({dest.width(), backdrop.width(), source.width()});
    const int height = std::min({dest.height(), backdrop.height(), source.height()});
    if (width <= 0 || height <= 0)
        return;
    const qsizetype destStride = dest.bytesPerLine() / 4;
    const qsizetype backdropStride = backdrop.bytesPerLine() / 4;
    const qsizetype sourceStride = source.bytesPerLine() / 4;
    auto* destRow = reinterpret_cast<std::uint32_t*>(dest.bits());
    auto* backdropRow = reinterpret_cast<const std::uint32_t*>(backdrop.constBits());
    auto* sourceRow = reinterpret_cast<const std::uint32_t*>(source.constBits());
    for (int row = 0; row < height; ++row, destRow += destStride, backdropRow += backdropStride, sourceRow += sourceStride)
        CombineRow(destRow, sourceRow, backdropRow, width, mode);
}
