// Times the outline and the drop shadow against the plain build of the same logo.
#include "composer/LogoComposer.h"
#include "ComposeTiming.h"

#include <benchmark/benchmark.h>

namespace {

// Arguments: 0 for the plain default logo, 1 with outline 2 and shadow (3, 3), 2 with
// those and letter spacing 2; and the smoothing factor (0 plain edges).
TLogoParams EffectsLogo(const benchmark::State& state)
{
    TLogoParams params = TLogoParams::Defaults();
    if (state.range(0) >= 1) {
        params.Effects.OutlineWidth = 2;
        params.Effects.ShadowX = 3;
        params.Effects.ShadowY = 3;
    }
    if (state.range(0) >= 2)
        params.Effects.Spacing = 2;
    params.Smooth = static_cast<int>(state.range(1));
    return params;
}
[[maybe_unused]] benchmark::internal::Benchmark* const Effects
    = RegisterComposeTiming("BM_Effects", EffectsLogo)->ArgsProduct({{0, 1, 2}, {0, 4}})->ArgNames({"effects", "smooth"});

} // namespace
