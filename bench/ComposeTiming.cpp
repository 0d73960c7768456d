#include "ComposeTiming.h"

#include <QString>

void TimeCompose(benchmark::State& state, const TLogoParams& params)
{
    TLogoLayers layers;
    TLogoComposer::Compose(params, layers);
    for (auto _ : state) {
        TLogoLayers fresh;
        TLogoComposer::Compose(params, fresh);
        benchmark::DoNotOptimize(fresh.Composite.Bits());
    }
    state.SetLabel(QStringLiteral("%1 x %2").arg(layers.Composite.Width()).arg(layers.Composite.Height()).toStdString());
}

benchmark::internal::Benchmark* RegisterComposeTiming(const char* name, TLogoParams (*makeLogo)(const benchmark::State&))
{
    return benchmark::RegisterBenchmark(name, [makeLogo](benchmark::State& state) { TimeCompose(state, makeLogo(state)); })
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
}
