#include "composer/EffectMarker.h"

#include <algorithm>
#include <cstring>

namespace {

// out[x] := 1 when any of in[x - radius .. x + radius] is set. Each run of set pixels
// is found with memchr and widened by the radius on both sides; a widened run starts
// where the one before it ended at the earliest, so every byte is written at most twice
// whatever the radius.
void DilateRow(const std::uint8_t* in, std::uint8_t* out, int width, int radius)
{
    std::fill(out, out + width, 0);
    int filled = 0; // out is set up to here
    int x = 0;
    while (x < width) {
        const void* set = std::memchr(in + x, 1, static_cast<std::size_t>(width - x));
        if (set == nullptr)
            return;
        const int start = static_cast<int>(static_cast<const std::uint8_t*>(set) - in);
        const void* clear = std::memchr(in + start, 0, static_cast<std::size_t>(width - start));
        const int end = clear == nullptr ? width : static_cast<int>(static_cast<const std::uint8_t*>(clear) - in);
        const int first = std::max(start - radius, filled);
        filled = std::min(end + radius, width);
        std::fill(out + first, out + filled, 1);
        x = end;
    }
}

} // namespace

void TEffectMarker::TRowRing::Reshape(int width, int rows)
{
    Width = width;
    Rows = rows;
    Bytes.assign(static_cast<std::size_t>(width) * rows, 0);
}

std::uint8_t* TEffectMarker::TRowRing::Row(int y)
{
    // Rows above the logo have negative numbers.
    const int slot = (y % Rows + Rows) % Rows;
    return Bytes.data() + static_cast<std::size_t>(slot) * Width;
}

// A shadow moved down comes from rows above, one moved up from rows below. The outline's
// square of the highest row the shadow comes from reaches up to the first letter row;
// no band is taller than all the letter rows together.
TEffectMarker::TEffectMarker(const TLogoParams& params, TPoint origin, int width, int height, int bandRows)
    : FWidth(std::max(width, 0)),
      FRadius(std::max(params.Effects.OutlineWidth, 0)),
      FShadowX(params.Effects.ShadowX),
      FShadowY(params.Effects.ShadowY),
      FReachUp(std::max(FShadowY, 0)),
      FReachDown(std::max(-FShadowY, 0)),
      FMask(MaskParams(params), origin, FWidth, -FReachUp - FRadius, std::max(height, 0) + FReachDown + FRadius, bandRows)
{
    FNextArea = -FReachUp;
    FNextLetter = FNextArea - FRadius;
    // A row's letters are needed until the rows below it that its area waits for are made.
    FLetters.Reshape(FWidth, FRadius + FReachDown + 1);
    FAcross.Reshape(FWidth, 2 * FRadius + 1);
    FArea.Reshape(FWidth, FReachUp + FReachDown + 1);
    FCounts.assign(static_cast<std::size_t>(FWidth), 0);
    FMarks.resize(static_cast<std::size_t>(FWidth));
}

TLogoParams TEffectMarker::MaskParams(const TLogoParams& params)
{
    TLogoParams mask = params;
    mask.BgColor = clBlack;
    mask.Font.SetColor(clWhite);
    return mask;
}

void TEffectMarker::MakeLetterRow()
{
    const int y = FNextLetter++;
    // Locals and unaliased pointers: byte stores could otherwise change any field, and
    // the loops would not vectorise.
    const int width = FWidth;
    const std::uint32_t* __restrict drawn = FMask.Row(y);
    std::uint8_t* __restrict letters = FLetters.Row(y);
    for (int x = 0; x < width; ++x)
        letters[x] = (drawn[x] & 0x00FFFFFFu) != 0;
    std::uint8_t* __restrict across = FAcross.Row(y);
    DilateRow(letters, across, width, FRadius);
    std::uint16_t* __restrict counts = FCounts.data();
    for (int x = 0; x < width; ++x)
        counts[x] += across[x];
}

void TEffectMarker::MakeAreaRow()
{
    const int y = FNextArea++;
    while (FNextLetter <= y + FRadius)
        MakeLetterRow();
    // The counts now cover the across rows y - radius .. y + radius; the first of them
    // leaves before the next area row.
    const int width = FWidth;
    const std::uint8_t* __restrict leaving = FAcross.Row(y - FRadius);
    std::uint8_t* __restrict area = FArea.Row(y);
    std::uint16_t* __restrict counts = FCounts.data();
    for (int x = 0; x < width; ++x) {
        area[x] = counts[x] != 0;
        counts[x] -= leaving[x];
    }
}

const std::uint8_t* TEffectMarker::NextRow()
{
    const int y = FNextMark++;
    if (FWidth == 0)
        return FMarks.data();
    while (FNextArea <= y + FReachDown)
        MakeAreaRow();
    const int width = FWidth;
    const int dx = FShadowX;
    const std::uint8_t* __restrict letter = FLetters.Row(y);
    const std::uint8_t* __restrict outline = FArea.Row(y);
    const std::uint8_t* __restrict shadow = FArea.Row(y - FShadowY);
    std::uint8_t* __restrict out = FMarks.data();
    // The shadow's columns: the area's pixel dx to the left lands on x.
    const int firstShadow = std::clamp(dx, 0, width);
    const int endShadow = std::clamp(width + dx, 0, width);
    std::fill(out, out + firstShadow, mkNone);
    for (int x = firstShadow; x < endShadow; ++x)
        out[x] = shadow[x - dx] * mkShadow;
    std::fill(out + endShadow, out + width, mkNone);
    // Letter 3 over outline 2 over shadow 1: each is 0 or 1 in its own row.
    for (int x = 0; x < width; ++x)
        out[x] = std::max<std::uint8_t>(out[x], std::max<std::uint8_t>(letter[x] * mkLetter,
                                                                         outline[x] * mkOutline));
    return out;
}
