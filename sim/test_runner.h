// `vey-sim test PATH... [--jobs N] [--filter TEXT] [--record] [--out DIR]`: runs every scenario
// given or found under the given folders, each in a fresh process of its own (so in a fresh
// host), and reports them in the order of their paths whatever finishes first, ending with
// "N passed, N failed" (", N skipped" for those --filter left out).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace sim {

struct TestOptions {
    std::vector<std::string> paths;
    int jobs = 1;
    std::string filter;
    bool record = false;
    // Each scenario writes into its own folder under this one; without it, a temporary folder
    // that is removed once everything passed (the folders of failed scenarios stay).
    std::string outDir;
    // The vey-sim program that runs each scenario.
    std::string simulator;
    // Shows which scenarios are done (for a terminal).
    bool progress = false;
};

// Reads the words after `test`; the problem when they are not right ("" when they are).
std::string parseTestArguments(const std::vector<std::string>& words, TestOptions& options);

// Exit status: 0 when every scenario run passed, 1 when any failed or could not run, 2 when
// there is nothing to run.
int runTests(const TestOptions& options, std::ostream& out, std::ostream& err);

} // namespace sim
