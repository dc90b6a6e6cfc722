// vey-sim's command line:
//   vey-sim run SCENARIO [--out DIR]   runs a scenario; without --out its outputs go to a
//                                      temporary folder that is removed afterwards
//   vey-sim demo [--out DIR]           runs the built-in demo (default folder ./vey-demo)
//   --smallest-png                     with either: PNG files as small as they can be made
//   vey-sim --help                     prints the usage
// Prints one line per file written. Exit status: 0 success, 2 a scenario error (file:line:
// problem) or a bad command line, 1 anything else (a folder that cannot be made, no plug-in).
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
