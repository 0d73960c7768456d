#include "composer/LogoEffects.h"

#include "composer/LogoComposer.h"

#include <algorithm>
#include <cstdlib>

namespace {

// A logo is marked a band of rows at a time, so that a large one needs no more than
// about this many mask pixels at once.
constexpr long long BandPixels = 1024LL * 1024;

// out[x] := 1 when any of in[x - radius .. x + radius] is set, by a running count. The
// row is walked in stretches where a pixel only enters the window, enters and leaves,
// or only leaves, so the inner loops carry no bounds tests.
void DilateRow(const std::uint8_t* in, std::uint8_t* out, int width, int radius)
{
    int count = 0;
    for (int x = 0; x < std::min(radius, width); ++x)
        count += in[x];
    const int enterEnd = std::max(width - radius, 0);  // below it, in[x + radius] enters
    const int leaveStart = std::min(radius + 1, width); // from it on, in[x - radius - 1] leaves
    int x = 0;
    for (; x < std::min(enterEnd, leaveStart); ++x) {
        count += in[x + radius];
        out[x] = count != 0;
    }
    for (; x < enterEnd; ++x) {
        count += in[x + radius] - in[x - radius - 1];
        out[x] = count != 0;
    }
    for (; x < leaveStart; ++x)
        out[x] = count != 0;
    for (; x < width; ++x) {
        count -= in[x - radius - 1];
        out[x] = count != 0;
    }
}

} // namespace

TTextEffects TTextEffects::Clamped() const
{
    TTextEffects result = *this;
    result.Spacing = std::clamp(Spacing, MinSpacing, MaxSpacing);
    result.OutlineWidth = std::clamp(OutlineWidth, 0, MaxOutlineWidth);
    result.ShadowX = std::clamp(ShadowX, -MaxShadowOffset, MaxShadowOffset);
    result.ShadowY = std::clamp(ShadowY, -MaxShadowOffset, MaxShadowOffset);
    return result;
}

TTextEffects TTextEffects::Scaled(int factor) const
{
    TTextEffects result = *this;
    result.Spacing = Spacing * factor;
    result.OutlineWidth = OutlineWidth * factor;
    result.ShadowX = ShadowX * factor;
    result.ShadowY = ShadowY * factor;
    return result;
}

TEffectGrowth TLogoEffects::Growth(const TTextEffects& effects)
{
    const int outline = std::max(effects.OutlineWidth, 0);
    return TEffectGrowth{outline + std::max(-effects.ShadowX, 0), outline + std::max(-effects.ShadowY, 0),
                         outline + std::max(effects.ShadowX, 0), outline + std::max(effects.ShadowY, 0)};
}

void TLogoEffects::MarkRows(const TLogoParams& params, TPoint origin, int width, int top, int rows,
                            std::vector<std::uint8_t>& marks)
{
    const TTextEffects& effects = params.Effects;
    const int radius = std::max(effects.OutlineWidth, 0);
    const int dx = effects.ShadowX;
    const int reach = std::abs(effects.ShadowY);
    // The mask covers the rows whose outline reaches these rows or whose shadow lands
    // on them.
    const int pad = radius + reach;
    const int maskRows = rows + 2 * pad;
    marks.assign(static_cast<std::size_t>(width) * rows, mkNone);
    if (width <= 0 || rows <= 0)
        return;

    TBitmap drawn;
    drawn.Reshape(width, maskRows);
    TLogoParams maskParams = params;
    maskParams.BgColor = clBlack;
    maskParams.Font.SetColor(clWhite);
    TLogoComposer::DrawTextLayer(maskParams, drawn.Canvas(), TSize{width, maskRows}, TPoint{origin.X, origin.Y - (top - pad)});

    const std::size_t w = static_cast<std::size_t>(width);
    std::vector<std::uint8_t> letters(w * maskRows);
    for (int y = 0; y < maskRows; ++y) {
        const std::uint32_t* in = drawn.ScanLine(y);
        std::uint8_t* out = letters.data() + w * y;
        for (int x = 0; x < width; ++x)
            out[x] = (in[x] & 0x00FFFFFFu) != 0;
    }

    // The outline's area (letters included) for the rows [top - reach, top + rows + reach):
    // each row dilated across, then a running count down the columns.
    const int areaRows = rows + 2 * reach;
    std::vector<std::uint8_t> across(w * maskRows);
    for (int y = 0; y < maskRows; ++y)
        DilateRow(letters.data() + w * y, across.data() + w * y, width, radius);
    std::vector<std::uint8_t> area(w * areaRows);
    // At most 2 * radius + 1 rows count, which 16 bits hold at any factor.
    std::vector<std::uint16_t> counts(w, 0);
    for (int y = 0; y < 2 * radius; ++y) {
        const std::uint8_t* row = across.data() + w * y;
        for (int x = 0; x < width; ++x)
            counts[x] += row[x];
    }
    for (int y = 0; y < areaRows; ++y) {
        const std::uint8_t* entering = across.data() + w * (y + 2 * radius);
        const std::uint8_t* leaving = across.data() + w * y;
        std::uint8_t* out = area.data() + w * y;
        for (int x = 0; x < width; ++x) {
            const std::uint16_t count = counts[x] + entering[x];
            out[x] = count != 0;
            counts[x] = count - leaving[x];
        }
    }

    // The shadow's columns: the area's pixel dx to the left lands on x.
    const int firstShadow = std::clamp(dx, 0, width);
    const int endShadow = std::clamp(width + dx, 0, width);
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t* letter = letters.data() + w * (y + pad);
        const std::uint8_t* outline = area.data() + w * (y + reach);
        const std::uint8_t* shadow = area.data() + w * (y + reach - effects.ShadowY);
        std::uint8_t* out = marks.data() + w * y;
        for (int x = firstShadow; x < endShadow; ++x)
            out[x] = shadow[x - dx] * mkShadow;
        // Letter 3 over outline 2 over shadow 1: each is 0 or 1 in its own row.
        for (int x = 0; x < width; ++x)
            out[x] = std::max<std::uint8_t>(out[x], std::max<std::uint8_t>(letter[x] * mkLetter, outline[x] * mkOutline));
    }
}

void TLogoEffects::PaintRow(const std::uint8_t* marks, std::uint32_t* row, int width, std::uint32_t shadowPixel,
                            std::uint32_t outlinePixel)
{
    // Chosen without a branch per pixel, so the loop vectorises.
    for (int x = 0; x < width; ++x) {
        const std::uint32_t mark = marks[x];
        const std::uint32_t painted = mark == mkShadow ? shadowPixel : outlinePixel;
        row[x] = (mark == mkShadow || mark == mkOutline) ? painted : row[x];
    }
}

void TLogoEffects::Apply(const TLogoParams& params, const TBitmap& text, TBitmap* composite, TBitmap& opaqueKey)
{
    const int width = text.Width();
    const int height = text.Height();
    opaqueKey.Reshape(width, height);
    if (opaqueKey.Empty())
        return;
    std::copy(text.Bits(), text.Bits() + static_cast<std::size_t>(width) * height, opaqueKey.Bits());
    const std::uint32_t opaque = ColorToPixel(params.BgColor) ^ 0x00FFFFFFu;
    const std::uint32_t shadowPixel = ColorToPixel(params.Effects.ShadowColor);
    const std::uint32_t outlinePixel = ColorToPixel(params.Effects.OutlineColor);
    const int bandRows = static_cast<int>(std::clamp<long long>(BandPixels / width, 1, height));
    const TPoint origin = TLogoComposer::TextOrigin(params);
    std::vector<std::uint8_t> marks;
    for (int top = 0; top < height; top += bandRows) {
        const int rows = std::min(bandRows, height - top);
        MarkRows(params, origin, width, top, rows, marks);
        for (int y = 0; y < rows; ++y) {
            const std::uint8_t* rowMarks = marks.data() + static_cast<std::size_t>(width) * y;
            if (composite != nullptr)
                PaintRow(rowMarks, composite->ScanLine(top + y), width, shadowPixel, outlinePixel);
            PaintRow(rowMarks, opaqueKey.ScanLine(top + y), width, opaque, opaque);
        }
    }
}
