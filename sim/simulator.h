// Runs a scenario against the host: device settings, the settings domain, SpringBoard's
// launch, media, touches, routes, time, and the files a scenario writes.
#pragma once

#include "platform/mediaremote/mediaremote.h"
#include "platform/preferences/preferences.h"
#include "sim/json.h"
#include "sim/scenario.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
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
    // Receives reports that do not stop the run, such as a settings file the plug-in's store
    // could not use (nil: nothing is printed).
    std::ostream* errors = nullptr;
    // The artwork files of a scenario together, each file counted once.
    std::uintmax_t artworkBudget = 256u << 20;
    // `match` writes its golden images instead of comparing with them.
    bool record = false;
    // Receives a progress line while a film renders (nil: none).
    std::ostream* progress = nullptr;
};

class Simulator {
  public:
    // Prepares the device folder (throws std::runtime_error when it cannot). The platform's
    // wall clock follows the virtual clock and its random source starts from a fixed seed, so
    // that a scenario's outputs are the same bytes run after run.
    explicit Simulator(RunOptions options);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Runs every command in order; a command that cannot be carried out throws ScenarioError,
    // an output that cannot be written (or memory running out) std::runtime_error, both
    // located at the command's line.
    void run(const Scenario& scenario);
    void execute(const Scenario& scenario, const Command& command);

    // The state as `dump` writes it.
    Json dump() const;
    bool launched() const { return launched_; }
    // The `expect` and `match` lines that did not hold; each was reported on `errors`.
    int failures() const { return failures_; }
    const std::vector<std::string>& written() const { return written_; }

  private:
    void writeSettings(const Scenario& scenario, const Command& command);
    MRTrack track(const Scenario& scenario, const Command& command);
    // Where an output goes: its folders made, none of them a link (an output never leaves the
    // output folder).
    std::string outputPath(const Scenario& scenario, const Command& command);
    void written(const std::string& path);
    void match(const Scenario& scenario, const Command& command);
    void failed(const Scenario& scenario, const Command& command, const std::string& message);

    RunOptions options_;
    DeviceSpec device_;
    bool launched_ = false;
    std::vector<std::pair<std::string, PreferenceValue>> settings_;
    std::vector<std::string> written_;
    // Artwork read so far, by file: every track of a file shares its bytes.
    std::map<std::string, Ref<NSData>> artwork_;
    std::uintmax_t artworkBytes_ = 0;
    int failures_ = 0;
};

} // namespace sim
