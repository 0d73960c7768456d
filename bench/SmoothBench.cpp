// Times smooth edges against the plain build of the same logo.
#include "composer/LogoComposer.h"
#include "ComposeTiming.h"

#include <benchmark/benchmark.h>

namespace {

// About 400 pixels wide.
TLogoParams WideLogo()
{
    TLogoParams params = TLogoParams::Defaults();
    params.Font.SetHeight(-110);
    return params;
}

// Arguments: 0 for the default logo or 1 for the wide one, and the factor (0 plain).
TLogoParams SmoothLogo(const benchmark::State& state)
{
    TLogoParams params = state.range(0) == 0 ? TLogoParams::Defaults() : WideLogo();
    params.Smooth = static_cast<int>(state.range(1));
    return params;
}
[[maybe_unused]] benchmark::internal::Benchmark* const Build
    = RegisterComposeTiming("BM_Build", SmoothLogo)->ArgsProduct({{0, 1}, {0, 2, 4, 8}})->ArgNames({"wide", "smooth"});

} // namespace
