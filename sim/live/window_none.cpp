// Builds without SDL2 have no live window.
#include "sim/live/window.h"

namespace sim {

std::unique_ptr<LiveWindow> openLiveWindow(CGSize, const std::string&, std::string* problem) {
    *problem = "this build of vey-sim has no live mode (SDL2, Debian's libsdl2-dev, was not found "
               "when it was configured)";
    return nullptr;
}

} // namespace sim
