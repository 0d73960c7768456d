#include "composer/TextEffects.h"

#include <algorithm>

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
