#pragma once

#include "composer/LogoComposer.h"

#include <benchmark/benchmark.h>

// Times whole builds of the logo into fresh layers, as a new logo of the renderer is
// made; the fonts are realised before the timing starts. The label gives the logo's size.
void TimeCompose(benchmark::State& state, const TLogoParams& params);
// Registers a benchmark of TimeCompose for the logo that makeLogo gives for the
// benchmark's arguments, reported in microseconds of wall-clock time; the caller adds
// the arguments.
benchmark::internal::Benchmark* RegisterComposeTiming(const char* name, TLogoParams (*makeLogo)(const benchmark::State&));
