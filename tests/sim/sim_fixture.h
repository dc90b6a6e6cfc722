// Runs scenarios in this process with the built plug-in, in an output folder of the test's
// own, and reads the dump back.
#pragma once

#include "json_reader.h"
#include "sim/plugin_state.h"
#include "sim/simulator.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>

class SimulatorTest : public ::testing::Test {
  public:
    void SetUp() override {
        out_ = (std::filesystem::temp_directory_path() / "vey-sim-test-XXXXXX").string();
        mkdtemp(out_.data());
    }
    void TearDown() override {
        simulator_.reset();
        std::filesystem::remove_all(out_);
    }

    sim::Simulator& simulator() {
        if (!simulator_) {
            sim::RunOptions options{out_,    VEY_PLUGIN_PATH, assets(),
                                    nullptr, &errors_,        artworkBudget_};
            options.record = record_;
            simulator_ = std::make_unique<sim::Simulator>(options);
        }
        return *simulator_;
    }
    static std::string assets() { return std::string(VEY_SOURCE_DIR) + "/assets"; }

    // Runs the lines; input files are found in `directory` (the assets by default).
    void run(const std::string& text, const std::string& directory = assets()) {
        simulator().run(sim::parseScenario(text, "t.vey", directory, simulator().launched()));
    }
    // The error the lines raise (a scenario error or a failed output), "" when they run; the
    // output folder is written OUT in it, as in `reported()`, what was said on standard error.
    std::string runError(const std::string& text, const std::string& directory = assets()) {
        try {
            run(text, directory);
        } catch (const std::exception& e) {
            return withOut(e.what());
        }
        return "";
    }
    std::string reported() const { return withOut(errors_.str()); }
    std::string withOut(std::string text) const {
        for (std::size_t at; (at = text.find(out_)) != std::string::npos;)
            text.replace(at, out_.size(), "OUT");
        return text;
    }
    JsonValue dump() { return parseJson(simulator().dump().dump()); }

    std::string out_;
    std::ostringstream errors_;
    std::uintmax_t artworkBudget_ = 256u << 20;
    bool record_ = false;
    std::unique_ptr<sim::Simulator> simulator_;
};
