// vey-sim: runs scenarios of the lock screen with the plug-in loaded (see sim/cli.h).
#include "sim/cli.h"

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv) {
    int status = sim::runCommandLine(argc, argv, std::cout, std::cerr, sim::builtPaths());
    std::cout.flush();
    std::cerr.flush();
    // Like SpringBoard, the host never tears down: the plug-in stays mapped and its objects
    // alive until the process ends, so skip the static destructors.
    std::_Exit(status);
}
