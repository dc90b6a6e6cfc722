// vey-sim's cost per track change, run in this process: twelve distinct 1000 x 1000 JPEG
// artworks played in turn, each change followed by the 4 s of virtual time its steps take.
// Without pictures (nothing asked for), and with a snapshot of the screen in the middle of each
// change's cross-dissolves. Compare the first with track_change_bench's BM_TrackChange1000.
#include "bench/jpeg_encode.h"
#include "sim/scenario.h"
#include "sim/simulator.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kArtworks = 12;
constexpr int kSide = 1000;

// A photograph-like picture with a different blob and tint for each seed.
Ref<NSData> artwork(int seed) {
    return encodeJPEG(kSide, kSide, [&](int y, std::uint8_t* row) {
        for (int x = 0; x < kSide; ++x) {
            double blob =
                std::exp(-(std::pow(x - 200 - seed * 50, 2) + std::pow(y - 500, 2)) / 40000.0);
            unsigned noise = (unsigned(x) * 73856093u) ^ (unsigned(y) * 19349663u);
            double n = double((noise >> 7) % 9) - 4;
            double v[3] = {60 + 150.0 * x / kSide + 40 * blob + seed * 8,
                           90 + 60 * std::sin(y * 0.01 + seed) + n, 200 - 120.0 * y / kSide + n};
            for (int c = 0; c < 3; ++c)
                row[x * 3 + c] = std::uint8_t(std::clamp(v[c], 0.0, 255.0));
        }
    });
}

struct Fixture {
    std::string dir;
    std::unique_ptr<sim::Simulator> simulator;
    int played = 0;

    Fixture() {
        char pattern[] = "/tmp/vey-sim-bench-XXXXXX";
        dir = mkdtemp(pattern);
        for (int i = 0; i < kArtworks; ++i) {
            Ref<NSData> data = artwork(i);
            std::ofstream(fs::path(dir) / ("art" + std::to_string(i) + ".jpg"), std::ios::binary)
                .write(reinterpret_cast<const char*>(data->bytes().data()),
                       std::streamsize(data->length()));
        }
        simulator = std::make_unique<sim::Simulator>(
            sim::RunOptions{dir + "/out", VEY_PLUGIN_PATH, VEY_ASSETS_DIR, nullptr, nullptr});
        run("pref Enabled YES\nlaunch\nwait 1\n", false);
        // Warm up: every artwork once (fonts, pools, the grain).
        for (int i = 0; i < kArtworks; ++i)
            change(false);
    }
    ~Fixture() { fs::remove_all(dir); }

    void run(const std::string& text, bool continued = true) {
        simulator->run(sim::parseScenario(text, dir + "/bench.vey", dir, continued));
    }
    void change(bool snapshot) {
        int n = played++;
        std::string play = "play \"Track " + std::to_string(n) + "\" \"Artist\" art" +
                           std::to_string(n % kArtworks) + ".jpg\n";
        run(play + (snapshot ? "wait 0.15\nsnapshot shot.png\nwait 3.95\n" : "wait 4.1\n"));
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_SimTrackChange(benchmark::State& state) {
    Fixture& f = fixture();
    bool snapshot = state.range(0) != 0;
    for (auto _ : state)
        f.change(snapshot);
    state.SetLabel(snapshot ? "snapshot mid-dissolve" : "no pictures");
}

} // namespace

BENCHMARK(BM_SimTrackChange)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(kArtworks * 2)
    ->Repetitions(5)
    ->ComputeStatistics("min",
                        [](const std::vector<double>& v) {
                            return *std::min_element(v.begin(), v.end());
                        })
    ->DisplayAggregatesOnly(true);

BENCHMARK_MAIN();
