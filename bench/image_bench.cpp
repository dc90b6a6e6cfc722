// The artwork path a track change runs, on photograph-like JPEG artwork of 600, 1000 and 1400
// pixels made here: decoding, the background, colour extraction (cold and cached), the
// same-image test and the whole chain. Also the memory held after extracting the colours of
// 100 distinct 1000 x 1000 artworks. Times are reported as medians in ms.
#include "bench/jpeg_encode.h"
#include "media/ColorExtractor.h"
#include "media/imageBlurrer.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <sys/resource.h>

namespace {

// A photograph-like picture: smooth gradients, soft blobs, hard-edged shapes and fine noise;
// `variant` shifts it so that artworks differ.
void photo(int x, int y, int variant, std::uint8_t* rgb) {
    double fx = (x + 37 * variant) / 97.0, fy = y / 113.0;
    double dx = x - 300.0 - 5 * variant, dy = y - 240.0;
    double blob = std::exp(-(dx * dx + dy * dy) / 9000.0);
    double r = 120 + 80 * std::sin(fx) * std::cos(fy * 0.7) + 60 * blob;
    double g = 100 + 70 * std::cos(fx * 0.6 + fy) - 40 * blob;
    double b = 90 + 60 * std::sin(fy * 1.3 - fx * 0.4);
    if ((x / 150 + y / 170 + variant) % 4 == 0) r *= 0.6, g *= 0.6;
    unsigned noise = (unsigned(x) * 73856093u) ^ (unsigned(y) * 19349663u) ^ unsigned(variant);
    double n = double((noise >> 7) % 13) - 6;
    auto clamp = [](double v) { return std::uint8_t(std::fmin(255, std::fmax(0, v))); };
    rgb[0] = clamp(r + n), rgb[1] = clamp(g + n), rgb[2] = clamp(b + n);
}

Ref<NSData> artworkJPEG(int side, int variant = 0) {
    return encodeJPEG(side, side, [&](int y, std::uint8_t* row) {
        for (int x = 0; x < side; ++x)
            photo(x, y, variant, &row[x * 3]);
    });
}

NSData* artwork(int side) {
    static std::map<int, Ref<NSData>> made;
    auto& data = made[side];
    if (!data) data = artworkJPEG(side);
    return data;
}

// A new bitmap object with the same pixels (so nothing computed for the original is reused).
Ref<UIImage> copyOf(UIImage* image) {
    const CGImage& b = *image->CGImage();
    auto copy = CGImageAllocate(b.width, b.height);
    std::memcpy(copy->data.get(), b.pixels(), b.pixelCount() * 4);
    copy->opaque = b.opaque;
    return UIImage::imageWithCGImage(copy, image->scale());
}

// The same-image test of a track change: both reduced to 10 x 10 and PNG-encoded.
bool sameImage(UIImage* a, UIImage* b) {
    if (!a || !b || a->CGImage()->width != b->CGImage()->width ||
        a->CGImage()->height != b->CGImage()->height)
        return false;
    auto reduced = [](UIImage* image) {
        UIGraphicsBeginImageContextWithOptions({10, 10}, YES, 1.0);
        image->drawInRect({{0, 0}, {10, 10}});
        Ref<UIImage> small = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        return UIImagePNGRepresentation(small);
    };
    return reduced(a)->isEqual(reduced(b));
}

void ensureGrain() {
    if (imageBlurrer::grainImage()) return;
    Ref<UIImage> first = UIImage::imageWithData(artwork(1000));
    imageBlurrer::applyCustomBlur(first, 10, 1);
}

void BM_Decode(benchmark::State& state) {
    NSData* data = artwork(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(UIImage::imageWithData(data));
}

void BM_Background(benchmark::State& state) {
    ensureGrain();
    Ref<UIImage> image = UIImage::imageWithData(artwork(int(state.range(0))));
    for (auto _ : state) {
        benchmark::DoNotOptimize(imageBlurrer::applyCustomBlur(image, 10, 1));
        objc_drainAutoreleasePool();
    }
}

void BM_ColoursCold(benchmark::State& state) {
    Ref<UIImage> image = UIImage::imageWithData(artwork(int(state.range(0))));
    for (auto _ : state) {
        state.PauseTiming();
        ColorExtractor::cache()->removeAllObjects();
        Ref<UIImage> fresh = copyOf(image);
        state.ResumeTiming();
        benchmark::DoNotOptimize(ColorExtractor::extractDominantColors(fresh, 1));
        objc_drainAutoreleasePool();
    }
}

// A cache hit for an artwork seen before, decoded anew (its digest is computed).
void BM_ColoursCached(benchmark::State& state) {
    Ref<UIImage> image = UIImage::imageWithData(artwork(int(state.range(0))));
    ColorExtractor::extractDominantColors(image, 1);
    for (auto _ : state) {
        state.PauseTiming();
        Ref<UIImage> fresh = copyOf(image);
        state.ResumeTiming();
        benchmark::DoNotOptimize(ColorExtractor::extractDominantColors(fresh, 1));
        objc_drainAutoreleasePool();
    }
}

// A cache hit for the very image object asked about before (restyling the shown artwork).
void BM_ColoursCachedSameObject(benchmark::State& state) {
    Ref<UIImage> image = UIImage::imageWithData(artwork(int(state.range(0))));
    ColorExtractor::extractDominantColors(image, 1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ColorExtractor::extractDominantColors(image, 1));
        objc_drainAutoreleasePool();
    }
}

void BM_SameImageTest(benchmark::State& state) {
    Ref<UIImage> a = UIImage::imageWithData(artwork(int(state.range(0))));
    Ref<UIImage> b = copyOf(a);
    for (auto _ : state)
        benchmark::DoNotOptimize(sameImage(a, b));
}

// Decode, same-image test against the artwork shown, colours (not cached), background.
void BM_TrackChange(benchmark::State& state) {
    ensureGrain();
    NSData* data = artwork(int(state.range(0)));
    Ref<UIImage> shown = UIImage::imageWithData(artworkJPEG(int(state.range(0)), 1));
    for (auto _ : state) {
        state.PauseTiming();
        ColorExtractor::cache()->removeAllObjects();
        state.ResumeTiming();
        Ref<UIImage> image = UIImage::imageWithData(data);
        if (!sameImage(image, shown)) {
            benchmark::DoNotOptimize(ColorExtractor::extractDominantColors(image, 1));
            benchmark::DoNotOptimize(imageBlurrer::applyCustomBlur(image, 10, 1));
        }
        objc_drainAutoreleasePool();
    }
}

long residentKiB() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * 4;
}

// Colours of 100 distinct 1000 x 1000 artworks: what stays resident once they are cached.
void BM_HundredArtworksMemory(benchmark::State& state) {
    std::vector<Ref<NSData>> artworks;
    for (int i = 0; i < 100; ++i)
        artworks.push_back(artworkJPEG(1000, i + 2));
    for (auto _ : state) {
        ColorExtractor::cache()->removeAllObjects();
        long before = residentKiB();
        for (auto& data : artworks) {
            Ref<UIImage> image = UIImage::imageWithData(data);
            ColorExtractor::extractDominantColors(image, 1);
            objc_drainAutoreleasePool();
        }
        long after = residentKiB();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        state.counters["cached"] = double(ColorExtractor::cache()->count());
        state.counters["resident_growth_MB"] = double(after - before) / 1024.0;
        state.counters["peak_resident_MB"] = double(usage.ru_maxrss) / 1024.0;
    }
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(600)->Arg(1000)->Arg(1400);
    // The minimum as well: on a shared machine it is the steadiest figure.
    b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
    b->ComputeStatistics(
        "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
}

} // namespace

BENCHMARK(BM_Decode)->Apply(sizes);
BENCHMARK(BM_Background)->Apply(sizes);
BENCHMARK(BM_ColoursCold)->Apply(sizes);
BENCHMARK(BM_ColoursCached)->Apply(sizes);
BENCHMARK(BM_ColoursCachedSameObject)->Apply(sizes);
BENCHMARK(BM_SameImageTest)->Apply(sizes);
BENCHMARK(BM_TrackChange)->Apply(sizes);
BENCHMARK(BM_HundredArtworksMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
