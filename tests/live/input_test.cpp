// The live window's input as commands: clicks on the controls shown, drags, keys, and the
// window's scale and margins.
#include "sim/live/input.h"

#include <gtest/gtest.h>

using namespace sim;
using K = LiveCommand::Kind;
using E = LiveEvent::Kind;
using enum LiveKey;

namespace {

// The screen drawn at half size, 10 pixels from the window's left edge and 20 from its top.
const LiveGeometry kGeometry{CGRectMake(10, 20, 195, 422),
                             CGSizeMake(390, 844),
                             {{"veyPauseButton", CGRectMake(175, 646, 39, 39)},
                              {"veyArtworkButton", CGRectMake(70, 296, 250, 250)},
                              {"veyMiniBackgroundView", CGRectMake(0, 540, 390, 170)}},
                             CGRectMake(0, 286, 390, 425),
                             true,
                             MPRouteKind::AirPodsMax};

// A screen point as the window's pixel.
auto at = [](E kind, double x, double y) { return LiveEvent{kind, 10 + x / 2, 20 + y / 2}; };
auto key = [](LiveKey k) { return LiveEvent{E::Key, 0, 0, k}; };
auto click = [](double x, double y) {
    return std::vector{at(E::Press, x, y), at(E::Release, x, y)};
};
auto drag = [](double x0, double y0, double x1, double y1) {
    return std::vector{at(E::Press, x0, y0), at(E::Move, (x0 + x1) / 2, (y0 + y1) / 2),
                       at(E::Move, x1, y1), at(E::Release, x1, y1)};
};

} // namespace

TEST(LiveInput, PointerAndKeysBecomeCommands) {
    struct Case {
        const char* what;
        std::vector<LiveEvent> events;
        std::vector<LiveCommand> expected;
    };
    std::vector<Case> cases = {
        {"click on the artwork", click(195, 421), {{K::Tap, "veyArtworkButton"}}},
        {"the front-most of overlapping controls", click(194, 665), {{K::Tap, "veyPauseButton"}}},
        {"a wobble within the slop is still a click",
         {at(E::Press, 100, 400), at(E::Move, 104, 404), at(E::Release, 106, 406)},
         {{K::Tap, "veyArtworkButton"}}},
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
        {"space pauses what plays", {key(Space)}, {{K::Pause}}},
        {"arrows change track", {key(Right), key(Left)}, {{K::NextTrack}, {K::PreviousTrack}}},
        {"r takes the next route", {key(R)}, {{K::Route, {}, MPRouteKind::AirPodsGen3}}},
        {"t and l", {key(T), key(L)}, {{K::Theme}, {K::Layout}}},
        {"s and d", {key(S), key(D)}, {{K::Snapshot}, {K::Dump}}},
        {"other keys do nothing", {key(Other)}, {}},
        {"nothing after q", {key(Q), key(D)}, {{K::Quit}}},
        {"closing the window quits", {{E::Close}, key(S)}, {{K::Quit}}},
    };
    for (const Case& c : cases) {
        LivePointer pointer;
        EXPECT_EQ(translateEvents(c.events, kGeometry, pointer), c.expected) << c.what;
        EXPECT_FALSE(pointer.down) << c.what;
    }
}

TEST(LiveInput, StateCarriesAcrossBatches) {
    LiveGeometry g = kGeometry;
    LivePointer pointer;
    // A press in one frame and its release in the next is one click.
    EXPECT_TRUE(translateEvents(std::vector{at(E::Press, 195, 421)}, g, pointer).empty());
    EXPECT_TRUE(pointer.down);
    EXPECT_EQ(translateEvents(std::vector{at(E::Release, 195, 421)}, g, pointer),
              (std::vector<LiveCommand>{{K::Tap, "veyArtworkButton"}}));
    // Space resumes what is paused; the routes go round to the speaker.
    g.playing = false;
    g.route = MPRouteKind::AirPodsGen3;
    EXPECT_EQ(translateEvents(std::vector{key(Space), key(R)}, g, pointer),
              (std::vector<LiveCommand>{{K::Resume}, {K::Route, {}, MPRouteKind::Speaker}}));
    // Before the first frame is drawn there is nowhere to click.
    g.area = CGRectZero;
    EXPECT_TRUE(translateEvents(click(195, 421), g, pointer).empty());
}
