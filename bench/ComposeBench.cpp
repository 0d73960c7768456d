#include "composer/LayerSteps.h"
#include "composer/LogoComposer.h"
#include "platform/base/UnicodeText.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

// The window's default logo: "Vezodev" in Times New Roman bold, 29 pixels, 106 x 32.
TLogoParams SmallLogo()
{
    return TLogoParams::Defaults();
}

// A banner of 4000 x 599 pixels: a 400-pixel font with margins.
TLogoParams LargeLogo()
{
    TLogoParams params = SmallLogo();
    params.Text = u"Vezodev gradient logos";
    params.Font.SetHeight(-400);
    params.HSpace = 22;
    params.VSpace = 78;
    return params;
}

// Bytes of the three rasters (text, gradient, composite) of a logo.
std::int64_t RasterBytes(const TLogoParams& params)
{
    const TSize size = TLogoComposer::LogoSize(params);
    return 3LL * size.Width * size.Height * 4;
}

void BuildInto(const TLogoParams& params, TLogoLayers& layers)
{
    TLogoComposer::Compose(params, layers);
    benchmark::DoNotOptimize(layers.Composite.Bits());
}

// What the renderer does for one logo: fresh bitmaps, sized, drawn and mixed.
void BuildLogo(const TLogoParams& params)
{
    TLogoLayers layers;
    BuildInto(params, layers);
}

void ReportSize(benchmark::State& state, const TLogoParams& params)
{
    const TSize size = TLogoComposer::LogoSize(params);
    state.counters["width"] = size.Width;
    state.counters["height"] = size.Height;
    state.SetBytesProcessed(state.iterations() * RasterBytes(params));
}

void BM_FullBuildSmall(benchmark::State& state)
{
    const TLogoParams params = SmallLogo();
    BuildLogo(params); // the font is realised once, outside the timing
    for (auto _ : state)
        BuildLogo(params);
    ReportSize(state, params);
}
BENCHMARK(BM_FullBuildSmall)->Unit(benchmark::kMicrosecond);

void BM_FullBuildLarge(benchmark::State& state)
{
    const TLogoParams params = LargeLogo();
    BuildLogo(params);
    for (auto _ : state)
        BuildLogo(params);
    ReportSize(state, params);
}
BENCHMARK(BM_FullBuildLarge)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same build into bitmaps kept from the last one, as a window redrawing its logo
// keeps them: SetSize then neither allocates nor clears, and what remains is the
// raster work itself.
void BM_FullBuildLargeReusedBitmaps(benchmark::State& state)
{
    const TLogoParams params = LargeLogo();
    TLogoLayers layers;
    BuildInto(params, layers);
    for (auto _ : state)
        BuildInto(params, layers);
    ReportSize(state, params);
}
BENCHMARK(BM_FullBuildLargeReusedBitmaps)->Unit(benchmark::kMillisecond)->UseRealTime();

// The parts of the large build, each into fresh bitmaps as the build makes them.
void BM_TextLayerLarge(benchmark::State& state)
{
    const TLogoParams params = LargeLogo();
    BuildLogo(params);
    for (auto _ : state) {
        TBitmap text;
        TLogoComposer::RenderTextLayer(params, text);
        benchmark::DoNotOptimize(text.Bits());
    }
}
BENCHMARK(BM_TextLayerLarge)->Unit(benchmark::kMillisecond)->UseRealTime();

// Small logos as the window and a renderer batch build them, in the Japanese UI face:
// text the code page holds is set glyph by glyph and never reaches the shaper.
void BM_FullBuildSmallJapanese(benchmark::State& state)
{
    TLogoParams params = SmallLogo();
    params.Text = u"ロゴ作成ツール";
    params.Font.SetName(u"ＭＳ Ｐゴシック");
    BuildLogo(params);
    for (auto _ : state)
        BuildLogo(params);
    ReportSize(state, params);
}
BENCHMARK(BM_FullBuildSmallJapanese)->Unit(benchmark::kMicrosecond);

// Thirteen characters in DejaVu Sans at 40 pixels: Latin, set glyph by glyph, and
// Arabic, shaped (joined) and put right to left. The difference is what shaping costs.
TLogoParams Logo40(const char* text)
{
    TLogoParams params = SmallLogo();
    params.Text = Utf8ToText(text);
    params.Font.SetName(u"DejaVu Sans");
    params.Font.SetHeight(-40);
    params.Font.SetStyle(0);
    return params;
}

// Argument: 0 for Latin, 1 for shaped Arabic of the same length.
void BM_FullBuild40(benchmark::State& state)
{
    const TLogoParams params = Logo40(state.range(0) ? "مرحبا بالعالم" : "Hello, world!");
    BuildLogo(params);
    for (auto _ : state)
        BuildLogo(params);
    ReportSize(state, params);
}
BENCHMARK(BM_FullBuild40)->Arg(0)->Arg(1)->ArgName("arabic")->Unit(benchmark::kMicrosecond);

// Measuring alone (the size the title shows): for Arabic, the shaping itself.
void BM_LogoSize40(benchmark::State& state)
{
    const TLogoParams params = Logo40(state.range(0) ? "مرحبا بالعالم" : "Hello, world!");
    BuildLogo(params);
    for (auto _ : state)
        benchmark::DoNotOptimize(TLogoComposer::LogoSize(params));
    state.SetLabel(state.range(0) ? "Arabic" : "Latin");
}
BENCHMARK(BM_LogoSize40)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Argument: the direction cell, 1 top to bottom (rows) or 2 left to right (columns).
void BM_GradientLayer4000x600(benchmark::State& state)
{
    TLogoParams params = LargeLogo();
    params.GraType = static_cast<TGraType>(state.range(0));
    for (auto _ : state) {
        TBitmap gradient;
        TLogoComposer::RenderGradientLayer(params, 4000, 600, gradient);
        benchmark::DoNotOptimize(gradient.Bits());
    }
    state.SetBytesProcessed(state.iterations() * 4000LL * 600 * 4);
}
BENCHMARK(BM_GradientLayer4000x600)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MixLayersLarge(benchmark::State& state)
{
    const TLogoParams params = LargeLogo();
    const TSize size = TLogoComposer::LogoSize(params);
    TBitmap text, gradient;
    TLogoComposer::RenderTextLayer(params, text);
    TLogoComposer::RenderGradientLayer(params, size.Width, size.Height, gradient);
    for (auto _ : state) {
        TBitmap composite;
        TLayerSteps::MixLayers(text, gradient, params.MixType, composite);
        benchmark::DoNotOptimize(composite.Bits());
    }
}
BENCHMARK(BM_MixLayersLarge)->Unit(benchmark::kMillisecond)->UseRealTime();

// A fresh 4000 x 599 bitmap alone: allocation, first touch of its pages and the black
// fill that SetSize does.
void BM_NewBitmapLarge(benchmark::State& state)
{
    const TSize size = TLogoComposer::LogoSize(LargeLogo());
    for (auto _ : state) {
        TBitmap bitmap(size.Width, size.Height);
        benchmark::DoNotOptimize(bitmap.Bits());
    }
}
BENCHMARK(BM_NewBitmapLarge)->Unit(benchmark::kMillisecond)->UseRealTime();

// The memory system's reference: copying as many bytes as the large build's three
// rasters hold, between buffers touched beforehand, and filling them.
void BM_MemcpyLargeRasters(benchmark::State& state)
{
    const std::size_t bytes = static_cast<std::size_t>(RasterBytes(LargeLogo()));
    std::vector<char> source(bytes, 1), dest(bytes, 2);
    for (auto _ : state) {
        std::memcpy(dest.data(), source.data(), bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_MemcpyLargeRasters)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MemsetLargeRasters(benchmark::State& state)
{
    const std::size_t bytes = static_cast<std::size_t>(RasterBytes(LargeLogo()));
    std::vector<char> dest(bytes, 2);
    for (auto _ : state) {
        std::memset(dest.data(), 0x55, bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_MemsetLargeRasters)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
