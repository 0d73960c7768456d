#include "LeftRightLogo.h"

TLogoParams LeftRightLogo(std::u16string_view text, TColor background, TColor top, TColor last, TMixType mixType)
{
    TLogoParams params = TLogoParams::Defaults();
    params.Text = text;
    params.BgColor = background;
    params.TopColor = top;
    params.LastColor = last;
    params.GraType = gtLeftRight;
    params.MixType = mixType;
    return params;
}
