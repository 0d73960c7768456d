#pragma once

#include "composer/LogoComposer.h"
#include "tools/BatchRunner.h"
#include "tools/RenderOptions.h"

#include <cstddef>
#include <string>
#include <string_view>

class TFileBatch;

// The rasters and the PNG buffer of one thread, kept from one logo to the next so that
// a batch does not take fresh memory (and its page faults) for every logo.
struct TWorkspace {
    TLogoLayers Layers;
    std::string Bytes;
};

// One logo as the options ask for it: written to its file or to standard output, or
// only its size printed.
class TRenderJob {
public:
    // Writes the logo (into batch, as its order'th file, when given) or only prints its
    // size; what it prints goes to report, each message after where. Throws the
    // composer's, the encoders' and the file errors.
    static void Run(const TRenderOptions& options, TWorkspace& work, TLineReport& report, std::u16string_view where = {},
                    TFileBatch* batch = nullptr, std::size_t order = 0);
    // The options with a settings file's logo as their base, when they name one.
    static TRenderOptions WithSettings(const TRenderOptions& options);
};
