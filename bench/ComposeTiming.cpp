#include "ComposeTiming.h"

#include <string>

void TimeCompose(benchmark::State& state, const TLogoParams& params)
{
    TLogoLayers layers;
    TLogoComposer::Compose(params, layers);
    for (auto _ : state) {
        TLogoLayers fresh;
        TLogoComposer::Compose(params, fresh);
        benchmark::DoNotOptimize(fresh.Composite.Bits());
    }
    state.SetLabel(std::to_string(layers.Composite.Width()) + " x " + std::to_string(layers.Composite.Height()));
}

benchmark::internal::Benchmark* RegisterComposeTiming(const char* name, TLogoParams (*makeLogo)(const benchmark::State&))
{
    return benchmark::RegisterBenchmark(name, [makeLogo](benchmark::State& state) { TimeCompose(state, makeLogo(state)); })
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
}
