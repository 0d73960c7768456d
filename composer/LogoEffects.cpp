#include "composer/LogoEffects.h"

#include "composer/EffectMarker.h"
#include "composer/TextBands.h"
#include "platform/raster/Bitmap.h"

#include <algorithm>

TEffectGrowth TLogoEffects::Growth(const TTextEffects& effects)
{
    const int outline = std::max(effects.OutlineWidth, 0);
    return TEffectGrowth{outline + std::max(-effects.ShadowX, 0), outline + std::max(-effects.ShadowY, 0),
                         outline + std::max(effects.ShadowX, 0), outline + std::max(effects.ShadowY, 0)};
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

void TLogoEffects::Apply(const TLogoParams& params, TPoint origin, const TBitmap& text, TBitmap* composite,
                         TBitmap& opaqueKey)
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
    TEffectMarker marker(params, origin, width, height, TTextBands::BandRows(BandPixels, width));
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* rowMarks = marker.NextRow();
        if (composite != nullptr)
            PaintRow(rowMarks, composite->ScanLine(y), width, shadowPixel, outlinePixel);
        PaintRow(rowMarks, opaqueKey.ScanLine(y), width, opaque, opaque);
    }
}
