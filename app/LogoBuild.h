#pragma once

#include "composer/LogoComposer.h"

// The logo as last built: the composer's three layers and the parameters they were
// built from. A logo too large to make is refused before anything changes, so the last
// good logo stays; its layers' memory is used again by the next build.
class TLogoBuild {
public:
    // Builds the logo of params; throws ELogoSizeError, keeping the last logo, when it
    // is too large to make.
    void Compose(const TLogoParams& params);

    const TLogoLayers& Layers() const { return FLayers; }
    const TLogoParams& Params() const { return FParams; }
    // The logo's size as the composer gives it; a side may be negative (the layers are
    // then empty).
    TSize Size() const { return FSize; }

private:
    TLogoLayers FLayers;
    TLogoParams FParams;
    TSize FSize;
};
