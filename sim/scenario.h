// The scenario language: one command per line, "#" starts a comment, strings in double quotes
// with \" and \\ escapes, input file paths relative to the scenario file, output file names
// relative to the output folder.
#pragma once

#include "platform/mediaplayer/mediaplayer.h"
#include "sim/expect.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace sim {

// A problem with a scenario, located at its file and line (0 for the file as a whole).
class ScenarioError : public std::runtime_error {
  public:
    ScenarioError(std::string file, int line, std::string problem);
    const std::string& file() const { return file_; }
    int line() const { return line_; }
    const std::string& problem() const { return problem_; }

  private:
    std::string file_;
    int line_;
    std::string problem_;
};

struct DeviceSpec {
    double width = 390, height = 844, scale = 3;
    std::string version = "16.4";
    std::string name = "iPhone";
};

struct TrackSpec {
    std::optional<std::string> title, artist;
    std::string artworkPath; // absolute; empty for none
};

struct Command {
    enum class Kind {
        Device,
        Pref,
        Prefs,
        Launch,
        Play,
        Queue,
        Stop,
        Pause,
        Resume,
        Tap,
        Swipe,
        Route,
        Theme,
        Layout,
        Wait,
        Dump,
        Snapshot,
        Film,
        Expect,
        Match,
    };
    Kind kind;
    int line = 0;
    DeviceSpec device;
    std::string key;               // pref
    std::string value;             // pref (a string)
    std::optional<bool> boolValue; // pref YES / NO
    TrackSpec track;
    // prefs (absolute); dump, snapshot, film and match (relative to the output folder)
    std::string path;
    std::string property; // tap
    MPRouteKind route = MPRouteKind::Speaker;
    double seconds = 0; // wait, film
    double fps = 0;     // film
    Expectation expectation;
    // match: the golden image beside the scenario, the share of pixels that may differ and how far
    // a channel may be off before its pixel differs
    std::string goldenPath;
    double tolerancePercent = 0.1;
    int perPixel = 2;
};

struct Scenario {
    std::string file; // as given, for messages
    std::vector<Command> commands;
};

// Limits that keep a bad file from taking the process with it.
constexpr std::size_t kMaxScenarioBytes = 4 << 20;
constexpr double kMaxWaitSeconds = 3600;
constexpr double kMaxFilmSeconds = 600;
constexpr double kMaxFilmFps = 120;
constexpr double kMaxFilmFrames = 3600;
// All films of a scenario together: two minutes at 60 frames per second.
constexpr long kMaxScenarioFilmFrames = 7200;

// Reads and checks a scenario: every syntax error, bad argument and missing input file is
// reported as a ScenarioError before anything runs.
Scenario parseScenarioFile(const std::string& path);
// The same for text in memory; `directory` resolves relative input paths. `launched` tells
// whether SpringBoard is already running when these lines start (for scenarios run in parts).
Scenario parseScenario(const std::string& text, const std::string& file,
                       const std::string& directory, bool launched = false);

} // namespace sim
