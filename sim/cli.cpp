#include "sim/cli.h"

#include "sim/render/render.h"
#include "sim/scenario.h"
#include "sim/simulator.h"

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace sim {

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitBadInput = 2;

const char* kUsage = "usage: vey-sim run SCENARIO [--out DIR] [--smallest-png]\n"
                     "       vey-sim demo [--out DIR] [--smallest-png]\n";

struct Arguments {
    std::string command;
    std::string scenario;
    std::string outDir;
    bool hasOut = false;
    bool smallestPNG = false;
};

// Fills `args` from the command line; the reason when it cannot.
std::string parseArguments(int argc, const char* const* argv, Arguments& args) {
    std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) return "no command given";
    args.command = words[0];
    if (args.command != "run" && args.command != "demo")
        return "unknown command '" + args.command + "'";
    for (std::size_t i = 1; i < words.size(); i++) {
        const std::string& w = words[i];
        if (w == "--out" || w.rfind("--out=", 0) == 0) {
            if (args.hasOut) return "--out given twice";
            if (w == "--out") {
                if (i + 1 >= words.size()) return "--out needs a folder";
                args.outDir = words[++i];
            } else {
                args.outDir = w.substr(6);
            }
            if (args.outDir.empty()) return "--out needs a folder";
            args.hasOut = true;
        } else if (w == "--smallest-png") {
            args.smallestPNG = true;
        } else if (w.size() > 1 && w[0] == '-') {
            return "unknown option '" + w + "'";
        } else if (args.command == "run" && args.scenario.empty()) {
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
    Arguments args;
    if (std::string problem = parseArguments(argc, argv, args); !problem.empty()) {
        err << "vey-sim: " << problem << "\n" << kUsage;
        return kExitBadInput;
    }
    std::string scenarioPath =
        args.command == "demo" ? (fs::path(paths.assetsDir) / "demo.vey").string() : args.scenario;
    bool temporary = false;
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
        if (args.smallestPNG) renderSetPNGCompression(PNGCompression::Smallest);
        Simulator simulator({outDir, paths.pluginPath, paths.assetsDir, &out, &err});
        simulator.run(scenario);
    } catch (const ScenarioError& e) {
        err << e.what() << "\n";
        status = kExitBadInput;
    } catch (const std::exception& e) {
        err << "vey-sim: " << e.what() << "\n";
        status = kExitFailure;
    }
    if (temporary) {
        std::error_code ignored;
        fs::remove_all(outDir, ignored);
    }
    return status;
}

} // namespace sim
