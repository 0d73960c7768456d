#include "app/LogoBuild.h"

void TLogoBuild::Compose(const TLogoParams& params)
{
    const TLogoExtent extent = TLogoComposer::LogoExtent(params);
    TLogoComposer::CheckLogoSize(extent);
    TLogoComposer::Compose(params, FLayers);
    FParams = params;
    FSize = extent.Saturated();
}
