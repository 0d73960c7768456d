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

// A large logo, 2770 x 596 with the widest outline (16) and the farthest shadow (32, 32),
// where the effects' reach spans several of the smooth edges' bands. Arguments: 0 without
// effects or 1 with them, and the smoothing factor (0 plain edges).
TLogoParams LargeLogo(const benchmark::State& state)
{
    TLogoParams params = TLogoParams::Defaults();
    params.Text = u"Vezodev logo";
    params.Font.SetHeight(-480);
    if (state.range(0) == 1) {
        params.Effects.OutlineWidth = TTextEffects::MaxOutlineWidth;
        params.Effects.ShadowX = TTextEffects::MaxShadowOffset;
        params.Effects.ShadowY = TTextEffects::MaxShadowOffset;
    }
    params.Smooth = static_cast<int>(state.range(1));
    return params;
}
[[maybe_unused]] benchmark::internal::Benchmark* const LargeEffects
    = RegisterComposeTiming("BM_LargeEffects", LargeLogo)->ArgsProduct({{0, 1}, {0, 8}})->ArgNames({"effects", "smooth"});

} // namespace
