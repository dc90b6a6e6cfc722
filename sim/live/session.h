// The live mode without its window: the scenario played on the real clock, then the person's
// commands carried out, and what the window needs to know to draw and to read clicks.
#pragma once

#include "sim/live/input.h"
#include "sim/simulator.h"

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace sim {

struct LiveOptions {
    std::string scenario; // empty: the assets' live.vey
    std::string outDir = "vey-live";
    // From the command line; they win over the scenario's device line.
    std::optional<CGSize> deviceSize;
    std::optional<double> deviceScale;
};

// The scenario to play: `device` lines take the command line's size and scale (a line of its
// own is added first when there is none), and SpringBoard launches at the end if the scenario
// did not launch it.
Scenario liveScenario(Scenario scenario, const LiveOptions& options);
// The device the scenario sets up.
DeviceSpec liveDevice(const Scenario& scenario);

class LiveSession {
  public:
    // `out` receives each command carried out and each file written, `err` the problems;
    // snapshots and dumps are named after the files already in `outDir`.
    LiveSession(Simulator& simulator, Scenario scenario, std::string outDir, std::ostream& out,
                std::ostream& err);

    // Moves time on by `nanos` of the real clock: the scenario's commands until its next
    // `wait`, which takes its time, then the rest as one stretch of the virtual clock.
    void advance(std::int64_t nanos);
    // Carries out one of the person's commands; false for quit. A command that fails is
    // reported and the session goes on.
    bool perform(const LiveCommand& command);

    LiveGeometry geometry(CGRect area) const;
    // Whether something on the screen moves at this moment of the virtual clock.
    bool animating() const;
    // Whether anything ran since the last call (the picture may have changed).
    bool takeChanged();
    // Nanoseconds until the scenario's wait or a task on the main queue falls due; -1 for
    // nothing scheduled.
    std::int64_t nanosUntilDue() const;
    // 2 once a scenario command failed (the scenario stops there), else 0.
    int status() const { return status_; }

  private:
    void runScenarioSteps();
    void step(std::int64_t nanos);
    bool execute(const Command& command, const std::string& shown);
    std::string freeName(const char* stem, const char* extension, int& counter) const;

    Simulator& simulator_;
    Scenario scenario_;
    Scenario own_; // for messages about the person's commands
    std::string outDir_;
    std::ostream& out_;
    std::ostream& err_;
    std::size_t next_ = 0;
    std::int64_t waitLeft_ = 0;
    bool changed_ = true;
    int status_ = 0;
    int snapshots_ = 0, dumps_ = 0;
};

// Plays `options` in a window until the person quits; the exit status (0, 1 or 2 as `run`).
int runLive(const LiveOptions& options, const std::string& pluginPath, const std::string& assetsDir,
            std::ostream& out, std::ostream& err);

} // namespace sim
