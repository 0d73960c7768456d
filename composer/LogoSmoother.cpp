#include "composer/LogoSmoother.h"

#include "composer/EffectMarker.h"
#include "composer/LayerSteps.h"
#include "composer/LogoEffects.h"
#include "composer/TextBands.h"
#include "platform/raster/Bitmap.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace {

constexpr std::uint32_t Opaque = 0xFF000000u;

// Red and blue are summed together in the 16-bit halves of one word, green in
// another: a block of up to 8 x 8 pixels sums to at most 64 x 255, which fits 16 bits.
template <int Factor>
void ReduceBlocks(const TBitmap& source, TBitmap& dest, int destRow)
{
    constexpr std::uint32_t area = Factor * Factor;
    constexpr std::uint32_t half = area / 2;
    const int width = dest.Width();
    const int rows = std::min(source.Height() / Factor, dest.Height() - destRow);
    const int sourceWidth = width * Factor;
    // Each column is summed down the block's rows first, in one contiguous pass per
    // row, then the block's columns are added.
    std::vector<std::uint32_t> redBlue(sourceWidth), green(sourceWidth);
    for (int y = 0; y < rows; ++y) {
        std::fill(redBlue.begin(), redBlue.end(), 0);
        std::fill(green.begin(), green.end(), 0);
        for (int k = 0; k < Factor; ++k) {
            const std::uint32_t* row = source.ScanLine(y * Factor + k);
            for (int x = 0; x < sourceWidth; ++x) {
                redBlue[x] += row[x] & 0x00FF00FFu;
                green[x] += (row[x] >> 8) & 0xFFu;
            }
        }
        std::uint32_t* out = dest.ScanLine(destRow + y);
        for (int x = 0; x < width; ++x) {
            std::uint32_t rb = 0, g = 0;
            for (int j = 0; j < Factor; ++j) {
                rb += redBlue[x * Factor + j];
                g += green[x * Factor + j];
            }
            const std::uint32_t red = ((rb >> 16) + half) / area;
            const std::uint32_t blue = ((rb & 0xFFFFu) + half) / area;
            const std::uint32_t greenValue = (g + half) / area;
            out[x] = Opaque | (red << 16) | (greenValue << 8) | blue;
        }
    }
}

} // namespace

void TLogoSmoother::Enlarge(const TBitmap& source, int firstRow, int rows, int factor, TBitmap& dest)
{
    const int width = source.Width();
    rows = std::clamp(rows, 0, std::max(source.Height() - firstRow, 0));
    dest.SetSize(width * factor, rows * factor);
    if (dest.Empty())
        return;
    const int wide = width * factor;
    for (int y = 0; y < rows; ++y) {
        const std::uint32_t* in = source.ScanLine(firstRow + y);
        std::uint32_t* first = dest.ScanLine(y * factor);
        for (int x = 0; x < width; ++x)
            std::fill_n(first + x * factor, factor, in[x]);
        for (int k = 1; k < factor; ++k)
            std::copy(first, first + wide, dest.ScanLine(y * factor + k));
    }
}

void TLogoSmoother::Reduce(const TBitmap& source, int factor, TBitmap& dest, int destRow)
{
    if (dest.Empty() || source.Empty())
        return;
    // One instance per factor, so the block loops have constant bounds.
    switch (factor) {
    case 2: ReduceBlocks<2>(source, dest, destRow); return;
    case 3: ReduceBlocks<3>(source, dest, destRow); return;
    case 4: ReduceBlocks<4>(source, dest, destRow); return;
    case 5: ReduceBlocks<5>(source, dest, destRow); return;
    case 6: ReduceBlocks<6>(source, dest, destRow); return;
    case 7: ReduceBlocks<7>(source, dest, destRow); return;
    case 8: ReduceBlocks<8>(source, dest, destRow); return;
    default: return;
    }
}

void TLogoSmoother::RenderComposite(const TLogoParams& params, TPoint origin, const TBitmap& text, const TBitmap& gradient,
                                    int factor, TBitmap& composite, long long bandPixels)
{
    const int width = gradient.Width();
    const int height = gradient.Height();
    factor = std::min({factor, MaxFactor, TLayerSteps::MaxSide / std::max({width, height, 1})});
    if (factor < MinFactor || gradient.Empty()) {
        TLayerSteps::MixLayers(text, gradient, params.MixType, composite);
        if (params.Effects.HasStage()) {
            TBitmap opaqueKey;
            TLogoEffects::Apply(params, origin, text, &composite, opaqueKey);
        }
        return;
    }
    composite.SetSize(width, height);
    TLogoParams large = params;
    large.Font.SetHeight(params.Font.Height() * factor);
    large.Effects = params.Effects.Scaled(factor);
    const bool effects = params.Effects.HasStage();
    const std::uint32_t shadowPixel = ColorToPixel(params.Effects.ShadowColor);
    const std::uint32_t outlinePixel = ColorToPixel(params.Effects.OutlineColor);
    const int largeWidth = width * factor;
    const int largeHeight = height * factor;
    const TPoint largeOrigin{origin.X * factor, origin.Y * factor};
    // A band holds whole rows of blocks.
    const int bandRows = TTextBands::BandRows(bandPixels, static_cast<long long>(largeWidth) * factor, height) * factor;
    // The enlarged text is drawn a band at a time, each band showing its own strip of the
    // one line of text, placed where the plain layer has it.
    TTextBands largeText(large, largeOrigin, largeWidth, 0, largeHeight, bandRows);
    // The marks of the outline and the shadow come row by row, in the order the rows
    // are mixed, from one marker for the whole enlarged logo.
    std::optional<TEffectMarker> marker;
    if (effects)
        marker.emplace(large, largeOrigin, largeWidth, largeHeight, bandRows);
    // The gradient is enlarged, mixed and averaged one row of blocks at a time, in two
    // small surfaces that stay in cache.
    TBitmap textRow, gradientRow;
    textRow.SetSize(largeWidth, factor);
    for (int y = 0; y < height; ++y) {
        for (int k = 0; k < factor; ++k) {
            const std::uint32_t* in = largeText.Row(y * factor + k);
            std::copy(in, in + largeWidth, textRow.ScanLine(k));
        }
        Enlarge(gradient, y, 1, factor, gradientRow);
        // Mixed in place: each result pixel depends on the same pixel of the two
        // layers alone.
        TLayerSteps::MixLayers(textRow, gradientRow, params.MixType, textRow);
        for (int k = 0; effects && k < factor; ++k)
            TLogoEffects::PaintRow(marker->NextRow(), textRow.ScanLine(k), largeWidth, shadowPixel, outlinePixel);
        Reduce(textRow, factor, composite, y);
    }
}
