#include "sim/live/input.h"

#include <cmath>
#include <optional>

namespace sim {

namespace {

// A finger wanders a little during a tap.
constexpr double kTapSlop = 10;
// A swipe covers some distance, mostly downward.
constexpr double kSwipeDistance = 50;

constexpr MPRouteKind kRoutes[] = {MPRouteKind::Speaker,    MPRouteKind::Headphones,
                                   MPRouteKind::AirPods,    MPRouteKind::AirPodsPro,
                                   MPRouteKind::AirPodsMax, MPRouteKind::AirPodsGen3};

bool contains(CGRect r, CGPoint p) {
    return r.size.width > 0 && r.size.height > 0 && p.x >= r.origin.x &&
           p.x < r.origin.x + r.size.width && p.y >= r.origin.y && p.y < r.origin.y + r.size.height;
}

CGPoint toScreen(const LiveGeometry& g, double x, double y) {
    if (!(g.area.size.width > 0 && g.area.size.height > 0)) return {NAN, NAN};
    return {(x - g.area.origin.x) * g.screen.width / g.area.size.width,
            (y - g.area.origin.y) * g.screen.height / g.area.size.height};
}

const LiveTarget* targetAt(const LiveGeometry& g, CGPoint p) {
    for (const LiveTarget& t : g.targets)
        if (contains(t.frame, p)) return &t;
    return nullptr;
}

void release(const LiveGeometry& g, const LivePointer& pointer, CGPoint end,
             std::vector<LiveCommand>& commands) {
    double dx = end.x - pointer.start.x, dy = end.y - pointer.start.y;
    if (std::hypot(dx, dy) <= kTapSlop) {
        // Touch-up-inside: released on the control it was pressed on.
        const LiveTarget* pressed = targetAt(g, pointer.start);
        if (pressed && pressed == targetAt(g, end))
            commands.push_back({LiveCommand::Kind::Tap, pressed->name});
    } else if (dy >= kSwipeDistance && dy > 2 * std::fabs(dx) &&
               contains(g.player, pointer.start)) {
        commands.push_back({LiveCommand::Kind::SwipeDown});
    }
}

std::optional<LiveCommand> keyCommand(LiveKey key, const LiveGeometry& g) {
    using K = LiveCommand::Kind;
    switch (key) {
    case LiveKey::Space:
        return LiveCommand{g.playing ? K::Pause : K::Resume};
    case LiveKey::Right:
        return LiveCommand{K::NextTrack};
    case LiveKey::Left:
        return LiveCommand{K::PreviousTrack};
    case LiveKey::R:
        return LiveCommand{K::Route, {}, nextRoute(g.route)};
    case LiveKey::T:
        return LiveCommand{K::Theme};
    case LiveKey::L:
        return LiveCommand{K::Layout};
    case LiveKey::S:
        return LiveCommand{K::Snapshot};
    case LiveKey::D:
        return LiveCommand{K::Dump};
    case LiveKey::Q:
        return LiveCommand{K::Quit};
    case LiveKey::Other:
        break;
    }
    return std::nullopt;
}

} // namespace

std::vector<LiveCommand> translateEvents(std::span<const LiveEvent> events,
                                         const LiveGeometry& geometry, LivePointer& pointer) {
    std::vector<LiveCommand> commands;
    for (const LiveEvent& e : events) {
        CGPoint p = toScreen(geometry, e.x, e.y);
        switch (e.kind) {
        case LiveEvent::Kind::Press:
            if (std::isnan(p.x)) break;
            pointer = {true, p, p};
            break;
        case LiveEvent::Kind::Move:
            if (pointer.down && !std::isnan(p.x)) pointer.last = p;
            break;
        case LiveEvent::Kind::Release:
            if (!pointer.down) break;
            release(geometry, pointer, std::isnan(p.x) ? pointer.last : p, commands);
            pointer = {};
            break;
        case LiveEvent::Kind::Key:
            if (auto c = keyCommand(e.key, geometry)) commands.push_back(*c);
            break;
        case LiveEvent::Kind::Close:
            commands.push_back({LiveCommand::Kind::Quit});
            break;
        }
        // Nothing after quitting.
        if (!commands.empty() && commands.back().kind == LiveCommand::Kind::Quit) break;
    }
    return commands;
}

MPRouteKind nextRoute(MPRouteKind route) {
    constexpr std::size_t n = std::size(kRoutes);
    for (std::size_t i = 0; i < n; i++)
        if (kRoutes[i] == route) return kRoutes[(i + 1) % n];
    return kRoutes[0];
}

std::string routeName(MPRouteKind route) {
    for (const char* token :
         {"speaker", "headphones", "airpods", "airpods-pro", "airpods-max", "airpods-gen3"}) {
        MPRouteKind k;
        if (MPRouteKindFromString(token, &k) && k == route) return token;
    }
    return "speaker";
}

} // namespace sim
