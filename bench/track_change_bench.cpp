// A track change from setNowPlayingInfo: to the styled player with its background, for a
// 1000 x 1000 JPEG artwork: the work the main queue does (decode, same-image tests, colours,
// background, view updates), not the virtual time it waits.
#include "bench/jpeg_encode.h"
#include "controls/InnerShadowButton.h"
#include "entry/install.h"
#include "entry/properties.h"
#include "entry/state.h"
#include "media/ColorExtractor.h"
#include "platform/preferences/preferences.h"
#include "platform/springboard/springboard.h"
#include "platform/uikit/uikit.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kSide = 1000;

// A photograph-like picture: gradients, soft blobs and fine noise, different for each seed.
std::vector<std::uint8_t> photoRGB(int seed) {
    std::vector<std::uint8_t> rgb(std::size_t(kSide) * kSide * 3);
    unsigned noise = 12345u + unsigned(seed) * 7919u;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            noise = noise * 1103515245u + 12345u;
            double n = ((noise >> 16) & 0xff) / 255.0 - 0.5;
            double blob = std::exp(-(std::pow(x - 300 - seed * 40, 2) + std::pow(y - 600, 2)) /
                                   (2 * 180.0 * 180.0));
            double r = 0.2 + 0.6 * x / kSide + 0.3 * blob + 0.03 * n;
            double g = 0.3 + 0.4 * std::sin(y * 0.01 + seed) * 0.5 + 0.02 * n;
            double b = 0.5 + 0.4 * blob - 0.3 * y / kSide + 0.03 * n;
            std::uint8_t* p = &rgb[(std::size_t(y) * kSide + x) * 3];
            for (int c = 0; c < 3; ++c) {
                double v = c == 0 ? r : c == 1 ? g : b;
                p[c] = std::uint8_t(std::lround(std::clamp(v, 0.0, 1.0) * 255));
            }
        }
    return rgb;
}

Ref<NSData> jpeg(int seed) {
    std::vector<std::uint8_t> rgb = photoRGB(seed);
    return encodeJPEG(kSide, kSide, [&](int y, std::uint8_t* row) {
        std::copy_n(&rgb[std::size_t(y) * kSide * 3], std::size_t(kSide) * 3, row);
    });
}

// The host with the plug-in, once per process; the player's views attached when the player
// construction has not made them.
void launch() {
    static bool launched = false;
    if (launched) return;
    launched = true;
    char tmpl[] = "/tmp/vey-bench-XXXXXX";
    std::string root = mkdtemp(tmpl);
    NSSetDeviceRoot(root);
    std::string error;
    if (!HBWritePreferences(kVeyPreferencesDomain, {{"Enabled", true}}, PlistFormat::XML, &error)) {
        std::fprintf(stderr, "track_change_bench: %s\n", error.c_str());
        std::exit(1);
    }
    SBRegisterHostClasses();
    initialiseVey();
    SBLaunch();
    MainQueue::shared().runFor(5);
    UIView* cover = coversheetView;
    if (!attached(cover, prop::veyView)) {
        Ref<UIView> root = UIView::make(CGRectMake(0, 300, 390, 420));
        Ref<UIImageView> backgroundView = UIView::make<UIImageView>(cover->bounds());
        Ref<UIImageView> art = UIView::make<UIImageView>(CGRectMake(70, 20, 250, 250));
        Ref<UILabel> title = UIView::make<UILabel>(CGRectMake(20, 290, 350, 24));
        Ref<UILabel> subtitle = UIView::make<UILabel>(CGRectMake(20, 316, 350, 20));
        Ref<UIView> panel = UIView::make<InnerShadowButton>(CGRectMake(10, 0, 370, 400));
        cover->insertSubview(backgroundView, 0);
        cover->addSubview(root);
        for (UIView* part :
             {panel.get(), static_cast<UIView*>(art.get()), static_cast<UIView*>(title.get()),
              static_cast<UIView*>(subtitle.get())})
            root->addSubview(part);
        setAttached(cover, prop::veyView, root);
        setAttached(cover, prop::veyBackgroundArtwork, backgroundView);
        setAttached(cover, prop::artworkImageView, art);
        setAttached(cover, prop::veySongLabel, title);
        setAttached(cover, prop::veyArtistLabel, subtitle);
        setAttached(cover, prop::veyMiniBackgroundView, cast<InnerShadowButton>(panel.get()));
    }
}

void playAndSettle(NSData* artwork, int n) {
    MRTrack track;
    track.title = "Track " + std::to_string(n);
    track.artist = "Artist";
    track.artworkData = artwork;
    MRNowPlayingService::shared().play(std::move(track));
    // Every step of the change lies within 4 s of virtual time (the fade-ins end last).
    MainQueue::shared().runFor(4.1);
}

// Alternates two artworks so that each change is a new artwork; `coldColours` clears the
// colour cache before each change, as for artwork never seen before.
void trackChange(benchmark::State& state, bool coldColours) {
    launch();
    Ref<NSData> artworks[2] = {jpeg(1), jpeg(2)};
    int n = 0;
    for (int warm = 0; warm < 2; ++warm)
        playAndSettle(artworks[n % 2], n), ++n;
    for (auto _ : state) {
        if (coldColours) {
            state.PauseTiming();
            ColorExtractor::cache()->removeAllObjects();
            state.ResumeTiming();
        }
        playAndSettle(artworks[n % 2], n);
        ++n;
    }
    if (!highresImage || !blurredImage) state.SkipWithError("the artwork was not accepted");
}

void BM_TrackChange1000(benchmark::State& state) {
    trackChange(state, true);
}
void BM_TrackChange1000CachedColours(benchmark::State& state) {
    trackChange(state, false);
}

// Pieces of a change, for scale: the decode (twice per change: the media controller's load and
// the lock screen artwork view's) and the same-image test (twice: in the style step and on
// the artwork view's path).
void BM_Decode1000(benchmark::State& state) {
    Ref<NSData> data = jpeg(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(UIImage::imageWithData(data));
}

void BM_SameImageTest1000(benchmark::State& state) {
    launch();
    Ref<UIImage> a = UIImage::imageWithData(jpeg(1));
    Ref<UIImageView> view = UIView::make<UIImageView>(CGRectMake(0, 0, 10, 10));
    view->setImage(UIImage::imageWithData(jpeg(1)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(send<bool>(coversheetView, "isSameImage:asImageInView:",
                                            static_cast<id>(a), static_cast<id>(view.get())));
        objc_drainAutoreleasePool();
    }
}

} // namespace

BENCHMARK(BM_Decode1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SameImageTest1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrackChange1000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_TrackChange1000CachedColours)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_MAIN();
