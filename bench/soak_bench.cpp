// The simulator over a long scenario: 1000 track changes with the demo's artwork, taps on the
// player's buttons, down swipes and settings changes, run in this process. Memory must stay
// flat: the peak resident size after 1000 changes within 10 % of the peak after 200 (the run
// is reported as an error otherwise). Also reports the time per change.
#include "sim/scenario.h"
#include "sim/simulator.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// The process's peak resident size so far, in KiB (VmHWM).
long peakKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

// Changes `from` up to `to` (exclusive): a new track every time, and every few changes a tap,
// a swipe or a setting, each followed by the time the player's animations take.
std::string changes(int from, int to) {
    const char* artwork[] = {"artwork-sunset.jpg", "artwork-forest.jpg", "artwork-ocean.png"};
    const char* styles[] = {"colorFlow", "darkMode", "lightMode"};
    std::string s;
    for (int i = from; i < to; i++) {
        s += "play \"Track " + std::to_string(i) + "\" \"Artist\" " + artwork[i % 3] + "\nwait 1\n";
        if (i % 5 == 1) s += "tap veyArtworkButton\nwait 1\n";
        if (i % 5 == 2) s += "swipe down\nwait 1\n";
        if (i % 5 == 3) s += "tap veySkipButton\nwait 1\n";
        if (i % 10 == 4) s += std::string("pref style ") + styles[i / 10 % 3] + "\n";
        s += "wait 3\n";
    }
    return s;
}

void BM_Soak1000Changes(benchmark::State& state) {
    std::string assets = VEY_ASSETS_DIR;
    char pattern[] = "/tmp/vey-soak-XXXXXX";
    std::string out = mkdtemp(pattern);
    long after200 = 0, after1000 = 0;
    for (auto _ : state) {
        sim::Simulator simulator({out, VEY_PLUGIN_PATH, assets, nullptr, nullptr});
        simulator.run(
            sim::parseScenario("pref Enabled YES\nlaunch\n" + changes(0, 200), "soak.vey", assets));
        after200 = peakKiB();
        simulator.run(sim::parseScenario(changes(200, 1000), "soak.vey", assets, true));
        after1000 = peakKiB();
    }
    std::filesystem::remove_all(out);
    state.counters["peakAfter200MiB"] = double(after200) / 1024;
    state.counters["peakAfter1000MiB"] = double(after1000) / 1024;
    state.counters["growth"] = after200 ? double(after1000) / double(after200) - 1 : 0;
    if (after1000 > after200 + after200 / 10)
        state.SkipWithError("memory grew by more than 10 % between 200 and 1000 changes");
}
// One run: the plug-in is loaded once per process.
BENCHMARK(BM_Soak1000Changes)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
