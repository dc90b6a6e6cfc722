// What the routing and timeline hooks need to know about a set of the host's media controls:
// whose they are (lock screen or Control Center) and the host classes they are told apart by.
#pragma once

#include "platform/runtime/runtime.h"

#include <optional>

// The context number of the controls `view` belongs to, by system version: from 16 on the
// owning controller's `context` (none when it does not answer it), before 16 the view's own
// "_context". The lock screen's controls are 2, the Control Center's lower.
std::optional<NSInteger> mediaControlsContext(id view, id controller);

// The delegate of `controller` (possibly nil), or none when the controller has no delegate to
// ask.
std::optional<id> mediaControlsDelegate(id controller);

// Host classes by name, looked up once they exist and then reused.
Class controlCenterControllerClass();
Class lockScreenControlsControllerClass();
