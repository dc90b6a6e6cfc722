// The colour cache's key for a 1000 x 1000 artwork: the content digest it is built on, against
// the key written out in full (PNG encoding and Base64). Opaque pixels are hashed as they are;
// half-transparent ones are un-premultiplied first, as the PNG holds them.
#include "platform/foundation/foundation.h"
#include "platform/graphics/graphics.h"
#include "platform/graphics/sha256.h"

#include <benchmark/benchmark.h>
#include <xxhash.h>

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

// Size, then the pixels as the PNG holds them, through `update`.
template <class Update> void hashContent(const CGImage& image, Update update) {
    std::uint32_t size[2] = {std::uint32_t(image.width), std::uint32_t(image.height)};
    update(size, sizeof size);
    if (image.opaque) {
        update(image.pixels(), image.pixelCount() * 4);
        return;
    }
    std::uint32_t chunk[1024];
    for (std::size_t i = 0; i < image.pixelCount(); i += 1024) {
        std::size_t m = std::min<std::size_t>(1024, image.pixelCount() - i);
        for (std::size_t j = 0; j < m; ++j)
            chunk[j] = unpremultiplyPixel(image.pixels()[i + j]);
        update(chunk, m * 4);
    }
}

void BM_Sha256Tree(benchmark::State& state) {
    Ref<UIImage> image = artwork(state.range(0));
    for (auto _ : state) {
        Sha256Tree h;
        hashContent(*image->CGImage(), [&](const void* p, std::size_t n) { h.update(p, n); });
        benchmark::DoNotOptimize(h.finish());
    }
}

void BM_XXH3_128(benchmark::State& state) {
    Ref<UIImage> image = artwork(state.range(0));
    XXH3_state_t* h = XXH3_createState();
    for (auto _ : state) {
        XXH3_128bits_reset(h);
        hashContent(*image->CGImage(),
                    [&](const void* p, std::size_t n) { XXH3_128bits_update(h, p, n); });
        benchmark::DoNotOptimize(XXH3_128bits_digest(h));
    }
    XXH3_freeState(h);
}

void BM_PNGBase64(benchmark::State& state) {
    Ref<UIImage> image = artwork(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            UIImagePNGRepresentation(image)->base64EncodedStringWithOptions(1));
}

void opacity(benchmark::internal::Benchmark* b) {
    b->ArgName("opaque")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_Sha256Tree)->Apply(opacity);
BENCHMARK(BM_XXH3_128)->Apply(opacity);
BENCHMARK(BM_PNGBase64)->Apply(opacity);

BENCHMARK_MAIN();
