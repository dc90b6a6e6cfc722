// The renderer's speed: a full-screen snapshot (1170 x 2532 pixels) of the player in its maxi
// layout — background artwork, blur material, artwork, labels, symbols — and the PNG encoding
// that follows it in `snapshot`, fast and smallest.
#include "platform/graphics/codec.h"
#include "sim/render/render.h"

// The same scenes the renderer's golden tests draw.
#include "tests/render/scenes.cpp"

#include <benchmark/benchmark.h>

namespace {

void BM_PlayerSnapshot(benchmark::State& state) {
    rendertest::PlayerScene scene = rendertest::makePlayerScene(rendertest::PlayerStyle::ColorFlow);
    RenderOptions options;
    options.scale = 3;
    CGImageRef image = renderView(scene.coverSheet, options); // fonts and wallpaper warmed up
    for (auto _ : state) {
        image = renderView(scene.coverSheet, options);
        benchmark::DoNotOptimize(image);
    }
    state.counters["pixels"] = double(image ? image->pixelCount() : 0);
}
BENCHMARK(BM_PlayerSnapshot)->Unit(benchmark::kMillisecond);

void BM_StockSnapshot(benchmark::State& state) {
    Ref<UIView> scene = rendertest::makeStockScene();
    RenderOptions options;
    options.scale = 3;
    CGImageRef image = renderView(scene, options);
    for (auto _ : state) {
        image = renderView(scene, options);
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(BM_StockSnapshot)->Unit(benchmark::kMillisecond);

// Fast (the default) and Smallest.
void BM_SnapshotPNG(benchmark::State& state) {
    rendertest::PlayerScene scene = rendertest::makePlayerScene(rendertest::PlayerStyle::ColorFlow);
    RenderOptions options;
    options.scale = 3;
    CGImageRef image = renderView(scene.coverSheet, options);
    auto compression = state.range(0) ? PNGCompression::Smallest : PNGCompression::Fast;
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = CGImageEncodePNG(*image, compression).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_SnapshotPNG)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
