// The live mode's input: what the person does in the window (presses, drags, keys), turned into
// what the simulator carries out. No windowing library here, so every rule is testable.
#pragma once

#include "platform/graphics/geometry.h"
#include "platform/mediaplayer/mediaplayer.h"

#include <span>
#include <string>
#include <vector>

namespace sim {

enum class LiveKey { Space, Right, Left, R, T, L, S, D, Q, Other };

struct LiveEvent {
    enum class Kind { Press, Move, Release, Key, Close };
    Kind kind = Kind::Key;
    double x = 0, y = 0; // window pixels, for the pointer
    LiveKey key = LiveKey::Other;
};

// A control the person can tap: its name as `tap` takes it, and where it shows on the screen.
struct LiveTarget {
    std::string name;
    CGRect frame; // screen points
};

// What the window shows and what the host plays, at the moment the events arrive.
struct LiveGeometry {
    CGRect area;                     // where the screen is drawn in the window, in window pixels
    CGSize screen;                   // the device's screen in points
    std::vector<LiveTarget> targets; // front-most first
    CGRect player = CGRectZero;      // the player on the screen; empty while none shows
    bool playing = false;
    MPRouteKind route = MPRouteKind::Speaker;
};

struct LiveCommand {
    enum class Kind {
        Tap,
        SwipeDown,
        Pause,
        Resume,
        NextTrack,
        PreviousTrack,
        Route,
        Theme,
        Layout,
        Snapshot,
        Dump,
        Quit,
    };
    Kind kind;
    std::string name = {};                    // tap
    MPRouteKind route = MPRouteKind::Speaker; // route
    bool operator==(const LiveCommand&) const = default;
};

// A press not yet released: carried from one batch of events to the next.
struct LivePointer {
    bool down = false;
    CGPoint start{}, last{}; // screen points
};

// A click (press and release within a few points, on the same control) taps the front-most
// control under it; a drag mostly downward that starts on the player is a down swipe; keys:
// space plays or pauses, right and left arrows change track, r the next audio route, t the
// style, l a layout pass, s a snapshot, d a dump, q (or closing the window) quits.
std::vector<LiveCommand> translateEvents(std::span<const LiveEvent> events,
                                         const LiveGeometry& geometry, LivePointer& pointer);

// The route after `route`, from the speaker through each headphone model and back.
MPRouteKind nextRoute(MPRouteKind route);
// The route as `route` takes it ("airpods-pro").
std::string routeName(MPRouteKind route);

} // namespace sim
