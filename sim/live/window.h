// The live mode's window (SDL2). Builds without SDL2 have none and say so.
#pragma once

#include "sim/live/session.h"

#include <memory>
#include <string>

namespace sim {

class LiveWindow {
  public:
    virtual ~LiveWindow() = default;
    // Shows the session until the person quits or closes the window.
    virtual void run(LiveSession& session) = 0;
};

// A window for a screen of `screen` points, scaled to fit the display; nil with the reason
// when this build has no live mode or there is no display.
std::unique_ptr<LiveWindow> openLiveWindow(CGSize screen, const std::string& title,
                                           std::string* problem);

} // namespace sim
