#include "composer/LogoEffects.h"

#include "composer/EffectMarker.h"
#include "composer/LogoComposer.h"

#include <algorithm>

namespace {

// The letter mask of a logo is drawn a band of rows at a time, so that a large one
// needs no more than about this many mask pixels at once.
constexpr long long BandPixels = 1024LL * 1024;

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
    TEffectMarker marker(params, origin, width, height,
                         static_cast<int>(std::max<long long>(BandPixels / width, 1)));
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* rowMarks = marker.NextRow();
        if (composite != nullptr)
            PaintRow(rowMarks, composite->ScanLine(y), width, shadowPixel, outlinePixel);
        PaintRow(rowMarks, opaqueKey.ScanLine(y), width, opaque, opaque);
    }
}
