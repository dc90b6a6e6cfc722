// The live window's input as commands: clicks on the controls shown, drags, keys, and the
// window's scale and margins.
#include "sim/live/input.h"

#include <gtest/gtest.h>

using namespace sim;
using K = LiveCommand::Kind;
using E = LiveEvent::Kind;

namespace {

// The screen drawn at half size, 10 pixels from the window's left edge and 20 from its top.
LiveGeometry geometry() {
    LiveGeometry g;
    g.area = CGRectMake(10, 20, 195, 422);
    g.screen = CGSizeMake(390, 844);
    g.targets = {{"veyPauseButton", CGRectMake(175, 646, 39, 39)},
                 {"veyArtworkButton", CGRectMake(70, 296, 250, 250)},
                 {"veyMiniBackgroundView", CGRectMake(0, 540, 390, 170)}};
    g.player = CGRectMake(0, 286, 390, 425);
    g.playing = true;
    g.route = MPRouteKind::AirPodsMax;
    return g;
}

// A screen point as the window's pixel.
LiveEvent at(E kind, double x, double y) {
    return {kind, 10 + x / 2, 20 + y / 2};
}
LiveEvent key(LiveKey k) {
    return {E::Key, 0, 0, k};
}
std::vector<LiveEvent> click(double x, double y) {
    return {at(E::Press, x, y), at(E::Release, x, y)};
}
std::vector<LiveEvent> drag(double x0, double y0, double x1, double y1) {
    return {at(E::Press, x0, y0), at(E::Move, (x0 + x1) / 2, (y0 + y1) / 2), at(E::Move, x1, y1),
            at(E::Release, x1, y1)};
}

LiveCommand tap(const char* name) {
    return {K::Tap, name};
}

} // namespace

TEST(LiveInput, PointerAndKeysBecomeCommands) {
    struct Case {
        const char* what;
        std::vector<LiveEvent> events;
        std::vector<LiveCommand> expected;
    };
    std::vector<Case> cases = {
        {"click on the artwork", click(195, 421), {tap("veyArtworkButton")}},
        {"the front-most of overlapping controls", click(194, 665), {tap("veyPauseButton")}},
        {"a wobble within the slop is still a click",
         {at(E::Press, 100, 400), at(E::Move, 104, 404), at(E::Release, 106, 406)},
         {tap("veyArtworkButton")}},
        {"released off the pressed control", drag(72, 300, 66, 300), {}},
        {"nothing under the click", click(20, 100), {}},
        {"a click in the margin outside the screen", {{E::Press, 3, 3}, {E::Release, 3, 3}}, {}},
        {"release without a press", {at(E::Release, 195, 421)}, {}},
        {"a drag down on the player", drag(195, 300, 200, 420), {{K::SwipeDown}}},
        {"a drag down ending in the margin",
         {at(E::Press, 195, 600), {E::Move, 108, 470}, {E::Release, 108, 600}},
         {{K::SwipeDown}}},
        {"a drag down above the player", drag(195, 100, 195, 250), {}},
        {"a drag more sideways than down", drag(100, 300, 200, 380), {}},
        {"a drag up", drag(195, 600, 195, 400), {}},
        {"too short to be a swipe", drag(195, 300, 195, 340), {}},
        {"space pauses what plays", {key(LiveKey::Space)}, {{K::Pause}}},
        {"arrows change track",
         {key(LiveKey::Right), key(LiveKey::Left)},
         {{K::NextTrack}, {K::PreviousTrack}}},
        {"r takes the next route", {key(LiveKey::R)}, {{K::Route, {}, MPRouteKind::AirPodsGen3}}},
        {"t l s d",
         {key(LiveKey::T), key(LiveKey::L), key(LiveKey::S), key(LiveKey::D)},
         {{K::Theme}, {K::Layout}, {K::Snapshot}, {K::Dump}}},
        {"other keys do nothing", {key(LiveKey::Other)}, {}},
        {"nothing after q", {key(LiveKey::Q), key(LiveKey::D)}, {{K::Quit}}},
        {"closing the window quits", {{E::Close}, key(LiveKey::S)}, {{K::Quit}}},
    };
    for (const Case& c : cases) {
        LivePointer pointer;
        EXPECT_EQ(translateEvents(c.events, geometry(), pointer), c.expected) << c.what;
        EXPECT_FALSE(pointer.down) << c.what;
    }
}

TEST(LiveInput, StateCarriesAcrossBatches) {
    LiveGeometry g = geometry();
    LivePointer pointer;
    // A press in one frame and its release in the next is one click.
    EXPECT_TRUE(translateEvents(std::vector{at(E::Press, 195, 421)}, g, pointer).empty());
    EXPECT_TRUE(pointer.down);
    EXPECT_EQ(translateEvents(std::vector{at(E::Release, 195, 421)}, g, pointer),
              std::vector{tap("veyArtworkButton")});
    // Space resumes what is paused; the routes go round to the speaker.
    g.playing = false;
    g.route = MPRouteKind::AirPodsGen3;
    EXPECT_EQ(translateEvents(std::vector{key(LiveKey::Space), key(LiveKey::R)}, g, pointer),
              (std::vector<LiveCommand>{{K::Resume}, {K::Route, {}, MPRouteKind::Speaker}}));
    // Before the first frame is drawn there is nowhere to click.
    g.area = CGRectZero;
    EXPECT_TRUE(translateEvents(click(195, 421), g, pointer).empty());
}
