#include "sim/cli.h"

#include "sim/live/session.h"
#include "sim/options.h"
#include "sim/render/render.h"
#include "sim/scenario.h"
#include "sim/simulator.h"
#include "sim/test_runner.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <ostream>
#include <stdexcept>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace sim {

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitBadInput = 2;

const char* kUsage = "usage: vey-sim run SCENARIO [--out DIR] [--record] [--smallest-png]\n"
                     "       vey-sim demo [--out DIR] [--smallest-png]\n"
                     "       vey-sim test PATH... [--jobs N] [--filter TEXT] [--out DIR] "
                     "[--record]\n"
                     "       vey-sim live [SCENARIO] [--out DIR] [--device WxH] [--scale S] "
                     "[--smallest-png]\n";

struct Arguments {
    std::string command;
    std::string scenario;
    std::string outDir;
    bool hasOut = false;
    LiveOptions live;
    bool record = false;
    bool smallestPNG = false;
};

std::optional<double> number(const std::string& text) {
    double value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

// `live`'s --device WxH and --scale S, checked as the scenario's device line checks them.
std::string parseLiveOption(const std::string& option, const std::string& value,
                            LiveOptions& live) {
    if (option == "--scale") {
        auto scale = number(value);
        if (!scale || *scale < 1 || *scale > 4) return "--scale must be a number from 1 to 4";
        live.deviceScale = *scale;
        return {};
    }
    std::size_t x = value.find('x');
    auto w = x == std::string::npos ? std::nullopt : number(value.substr(0, x));
    auto h = x == std::string::npos ? std::nullopt : number(value.substr(x + 1));
    if (!w || !h || *w != std::floor(*w) || *h != std::floor(*h) || *w < 1 || *h < 1 || *w > 4096 ||
        *h > 4096)
        return "--device must be WxH in whole points from 1 to 4096, e.g. 390x844";
    live.deviceSize = CGSizeMake(*w, *h);
    return {};
}

// Fills `args` from the command line; the reason when it cannot.
std::string parseArguments(int argc, const char* const* argv, Arguments& args) {
    std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) return "no command given";
    args.command = words[0];
    if (args.command != "run" && args.command != "demo" && args.command != "live")
        return "unknown command '" + args.command + "'";
    for (std::size_t i = 1; i < words.size(); i++) {
        const std::string& w = words[i];
        std::string option = w.substr(0, w.find('='));
        if (args.command == "live" && (option == "--device" || option == "--scale")) {
            bool twice = option == "--device" ? args.live.deviceSize.has_value()
                                              : args.live.deviceScale.has_value();
            if (twice) return option + " given twice";
            std::string value;
            if (std::string problem = takeOptionValue(words, i, option, value); !problem.empty())
                return problem;
            if (std::string problem = parseLiveOption(option, value, args.live); !problem.empty())
                return problem;
        } else if (option == "--out") {
            if (args.hasOut) return "--out given twice";
            if (std::string problem = takeOptionValue(words, i, option, args.outDir, "a folder");
                !problem.empty())
                return problem;
            args.hasOut = true;
        } else if (w == "--record" && args.command == "run") {
            args.record = true;
        } else if (w == "--smallest-png") {
            args.smallestPNG = true;
        } else if (w.size() > 1 && w[0] == '-') {
            return "unknown option '" + w + "'";
        } else if ((args.command == "run" || args.command == "live") && args.scenario.empty()) {
            args.scenario = w;
        } else {
            return "unexpected argument '" + w + "'";
        }
    }
    if (args.command == "run" && args.scenario.empty()) return "run needs a scenario file";
    return {};
}

std::string makeTemporaryFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/vey-sim-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) throw std::runtime_error("cannot make a temporary folder");
    return buffer.data();
}

// Progress lines are for a person watching, never for a log.
bool terminal(std::ostream& err) {
    return &err == &std::cerr && ::isatty(STDERR_FILENO);
}

int runTestCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    TestOptions options;
    std::string problem = parseTestArguments({argv + 2, argv + argc}, options);
    if (!problem.empty()) {
        err << "vey-sim: " << problem << "\n" << kUsage;
        return kExitBadInput;
    }
    std::error_code error;
    options.simulator = fs::read_symlink("/proc/self/exe", error).string();
    options.progress = terminal(err);
    return runTests(options, out, err);
}

} // namespace

CliPaths builtPaths() {
    return {VEY_PLUGIN_PATH, VEY_ASSETS_DIR};
}

int runCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                   const CliPaths& paths) {
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        out << kUsage;
        return 0;
    }
    if (argc > 1 && std::string_view(argv[1]) == "test")
        return runTestCommand(argc, argv, out, err);
    Arguments args;
    if (std::string problem = parseArguments(argc, argv, args); !problem.empty()) {
        err << "vey-sim: " << problem << "\n" << kUsage;
        return kExitBadInput;
    }
    renderSetPNGCompression(args.smallestPNG ? PNGCompression::Smallest : PNGCompression::Fast);
    if (args.command == "live") {
        args.live.scenario = args.scenario;
        if (args.hasOut) args.live.outDir = args.outDir;
        return runLive(args.live, paths.pluginPath, paths.assetsDir, out, err);
    }
    std::string scenarioPath =
        args.command == "demo" ? (fs::path(paths.assetsDir) / "demo.vey").string() : args.scenario;
    bool temporary = false, checksFailed = false;
    int status = 0;
    std::string outDir;
    try {
        Scenario scenario = parseScenarioFile(scenarioPath);
        if (args.hasOut)
            outDir = args.outDir;
        else if (args.command == "demo")
            outDir = "vey-demo";
        else
            outDir = makeTemporaryFolder(), temporary = true;
        std::error_code error;
        fs::create_directories(outDir, error);
        if (error) throw std::runtime_error("cannot create " + outDir + ": " + error.message());
        RunOptions options{outDir, paths.pluginPath, paths.assetsDir, &out, &err};
        options.record = args.record;
        if (terminal(err)) options.progress = &err;
        Simulator simulator(options);
        simulator.run(scenario);
        if (simulator.failures()) status = kExitFailure, checksFailed = true;
    } catch (const ScenarioError& e) {
        err << e.what() << "\n";
        status = kExitBadInput;
    } catch (const std::exception& e) {
        err << "vey-sim: " << e.what() << "\n";
        status = kExitFailure;
    }
    // Kept when something failed: the failure messages name pictures in it.
    if (temporary && !checksFailed) {
        std::error_code ignored;
        fs::remove_all(outDir, ignored);
    }
    return status;
}

} // namespace sim
