#include "app/LogoBuild.h"

void TLogoBuild::Compose(const TLogoParams& params)
{
    const TSize size = TLogoComposer::LogoSize(params);
    TLogoComposer::CheckLogoSize(size);
    TLogoComposer::Compose(params, FLayers);
    FParams = params;
    FSize = size;
}
