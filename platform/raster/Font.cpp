#include "platform/raster/Font.h"

#include "platform/base/Store.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    std::int64_t product = static_cast<std::int64_t>(a) * b;
    std::int64_t divisor = c;
    if (divisor < 0) {
        divisor = -divisor;
        product = -product;
    }
    const std::int64_t half = divisor / 2;
    const std::int64_t result = (product >= 0 ? product + half : product - half) / divisor;
    if (result > std::numeric_limits<int>::max() || result < -std::numeric_limits<int>::max())
        return -1;
    return static_cast<int>(result);
}

int SaturatedInt(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

TFont::TFont()
    : FName(u"Arial"), FHeight(-MulDiv(8, PixelsPerInch, 72))
{
}

TFont::TFont(const TFont& other)
    : FName(other.FName), FHeight(other.FHeight), FStyle(other.FStyle), FColor(other.FColor),
      FCharset(other.FCharset), FPitch(other.FPitch)
{
}

TFont& TFont::operator=(const TFont& other)
{
    Assign(other);
    return *this;
}

void TFont::Assign(const TFont& source)
{
    if (&source == this)
        return;
    FName = source.FName;
    FHeight = source.FHeight;
    FStyle = source.FStyle;
    FColor = source.FColor;
    FCharset = source.FCharset;
    FPitch = source.FPitch;
    Changed();
}

bool TFont::SameAttributes(const TFont& other) const
{
    return FName == other.FName && FHeight == other.FHeight && FStyle == other.FStyle
        && FColor == other.FColor && FCharset == other.FCharset && FPitch == other.FPitch;
}

void TFont::SetName(std::u16string_view name)
{
    if (name.empty() || name == FName)
        return;
    FName = name;
    Changed();
}

void TFont::SetHeight(int height) { if (Store(FHeight, height)) Changed(); }

int TFont::Size() const
{
    return -MulDiv(FHeight, 72, PixelsPerInch);
}

void TFont::SetSize(int points)
{
    SetHeight(-MulDiv(points, PixelsPerInch, 72));
}

void TFont::SetStyle(TFontStyles style)
{
    style &= fsBold | fsItalic | fsUnderline | fsStrikeOut;
    if (Store(FStyle, style))
        Changed();
}

void TFont::SetColor(TColor color) { if (Store(FColor, color)) Changed(); }

void TFont::SetCharset(int charset) { if (Store(FCharset, charset)) Changed(); }

void TFont::SetPitch(TFontPitch pitch) { if (Store(FPitch, pitch)) Changed(); }

void TFont::Changed()
{
    if (OnChange)
        OnChange();
}
