#include "composer/LogoParams.h"

TLogoParams TLogoParams::Defaults()
{
    TLogoParams params;
    params.Text = DefaultText;
    params.Font.SetName(u"Times New Roman");
    params.Font.SetHeight(-29);
    params.Font.SetStyle(fsBold);
    params.Font.SetColor(clBlack);
    return params;
}
