// Runs a scenario against the host: device settings, the settings domain, SpringBoard's
// launch, media, touches, routes, time, and the files a scenario writes.
#pragma once

#include "platform/preferences/preferences.h"
#include "sim/json.h"
#include "sim/scenario.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

namespace sim {

struct RunOptions {
    // Where outputs go; the device root is made in its "device" folder.
    std::string outDir;
    std::string pluginPath;
    std::string assetsDir;
    // Receives one line per file written (nil: nothing is printed).
    std::ostream* log = nullptr;
};

class Simulator {
  public:
    // Prepares the device folder (throws std::runtime_error when it cannot).
    explicit Simulator(RunOptions options);

    // Runs every command in order; a command that cannot be carried out throws ScenarioError.
    void run(const Scenario& scenario);
    void execute(const Scenario& scenario, const Command& command);

    // The state as `dump` writes it.
    Json dump() const;
    bool launched() const { return launched_; }
    const std::vector<std::string>& written() const { return written_; }

  private:
    void writeSettings(const Scenario& scenario, const Command& command);
    void writeOutput(const Scenario& scenario, const Command& command, const std::string& text);

    RunOptions options_;
    DeviceSpec device_;
    bool launched_ = false;
    std::vector<std::pair<std::string, PreferenceValue>> settings_;
    std::vector<std::string> written_;
};

} // namespace sim
