// The colour cache's key for a 1000 x 1000 artwork, opaque and half-transparent: the digest key
// it uses against the key written out in full (PNG encoding and Base64).
#include "media/ColorExtractor.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kSide = 1000;

Ref<UIImage> artwork(bool opaque) {
    auto bitmap = CGImageAllocate(kSide, kSide);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            std::uint32_t a = opaque ? 255 : 128 + (x + y) % 128;
            bitmap->data[std::size_t(y) * kSide + x] =
                packPixel(a, (x * 7 + y) % (a + 1), (y * 3) % (a + 1), (x ^ y) % (a + 1));
        }
    bitmap->opaque = opaque;
    return UIImage::imageWithCGImage(bitmap);
}

void BM_DigestKey(benchmark::State& state) {
    Ref<UIImage> image = artwork(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(ColorExtractor::digestKeyForImage(image));
}

void BM_WrittenOutKey(benchmark::State& state) {
    Ref<UIImage> image = artwork(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(ColorExtractor::cacheKeyForImage(image));
}

void opacity(benchmark::internal::Benchmark* b) {
    b->ArgName("opaque")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_DigestKey)->Apply(opacity);
BENCHMARK(BM_WrittenOutKey)->Apply(opacity);

BENCHMARK_MAIN();
