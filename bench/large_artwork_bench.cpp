// Large artwork end to end: vey-sim run as a child process on a scenario that launches and
// plays one track with a photograph-like JPEG artwork of 3000 x 3000 or 6000 x 6000 pixels
// (side 0: launch only, no track, to tell the change from the start-up). Reported: the child's
// wall time (the benchmark's time), its CPU time and its peak resident size (ru_maxrss).
#include "bench/jpeg_encode.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace fs = std::filesystem;

namespace {

const std::string& workDir() {
    static std::string dir = [] {
        char pattern[] = "/tmp/vey-large-bench-XXXXXX";
        return std::string(mkdtemp(pattern));
    }();
    return dir;
}

// The scenario for `side`, with its artwork written once.
std::string scenarioFor(int side) {
    static std::map<int, std::string> made;
    if (auto it = made.find(side); it != made.end()) return it->second;
    fs::path dir = workDir();
    std::string text = "pref Enabled YES\nlaunch\nwait 1\n";
    if (side > 0) {
        std::string name = "art" + std::to_string(side) + ".jpg";
        Ref<NSData> data = encodeJPEG(side, side, [&](int y, std::uint8_t* row) {
            for (int x = 0; x < side; ++x) {
                double fx = double(x) / side, fy = double(y) / side;
                unsigned noise = (unsigned(x) * 73856093u) ^ (unsigned(y) * 19349663u);
                double n = double((noise >> 7) % 9) - 4;
                row[x * 3] = std::uint8_t(std::clamp(40 + 180 * fx + n, 0.0, 255.0));
                row[x * 3 + 1] =
                    std::uint8_t(std::clamp(120 + 80 * std::sin(9 * fy) + n, 0.0, 255.0));
                row[x * 3 + 2] = std::uint8_t(std::clamp(200 - 150 * fy * fx + n, 0.0, 255.0));
            }
        });
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(data->bytes().data()),
                   std::streamsize(data->length()));
        text += "play \"Large\" \"Artist\" " + name + "\n";
    }
    text += "wait 4\n";
    fs::path path = dir / ("large" + std::to_string(side) + ".vey");
    std::ofstream(path) << text;
    return made[side] = path.string();
}

void BM_LargeArtwork(benchmark::State& state) {
    std::string scenario = scenarioFor(int(state.range(0)));
    std::string sim = (fs::path(VEY_PLUGIN_PATH).parent_path() / "vey-sim").string();
    std::string out = workDir() + "/out";
    double peakMB = 0, cpu = 0;
    for (auto _ : state) {
        fs::remove_all(out);
        const char* argv[] = {sim.c_str(), "run", scenario.c_str(), "--out", out.c_str(), nullptr};
        auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        if (posix_spawn(&pid, sim.c_str(), nullptr, nullptr, const_cast<char**>(argv), environ)) {
            state.SkipWithError("cannot start vey-sim");
            return;
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(wall.count());
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("vey-sim failed");
            return;
        }
        peakMB = double(usage.ru_maxrss) / 1024;
        cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
              double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    state.counters["peak_MB"] = peakMB;
    state.counters["cpu_s"] = cpu;
}

double minimum(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

} // namespace

BENCHMARK(BM_LargeArtwork)
    ->Arg(0)
    ->Arg(3000)
    ->Arg(6000)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->ComputeStatistics("min", minimum)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
