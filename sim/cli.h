// vey-sim's command line:
//   vey-sim run SCENARIO [--out DIR] [--record]
//                                      runs a scenario; without --out its outputs go to a
//                                      temporary folder that is removed afterwards (kept when
//                                      an expect or match failed); --record makes the goldens
//   vey-sim demo [--out DIR]           runs the built-in demo (default folder ./vey-demo)
//   vey-sim live [SCENARIO] [--out DIR] [--device WxH] [--scale S]
//                                      the lock screen in a window (sim/live/session.h)
//   vey-sim test PATH...               runs scenarios, each in its own process (test_runner.h)
//   --smallest-png                     with run, demo or live: the smallest PNG files
//   vey-sim --help                     prints the usage
// Prints one line per file written. Exit status: 0 success, 2 a scenario error (file:line:
// problem) or a bad command line, 1 an expect or match that failed, or anything else (a folder
// that cannot be made, no plug-in).
#pragma once

#include <iosfwd>
#include <string>

namespace sim {

struct CliPaths {
    std::string pluginPath; // the built Vey.dylib
    std::string assetsDir;  // demo.vey and the artwork, glyphs and icon it uses
};

int runCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                   const CliPaths& paths);

// The paths this build was configured with.
CliPaths builtPaths();

} // namespace sim
