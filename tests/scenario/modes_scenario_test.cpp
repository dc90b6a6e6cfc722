// Layout switches end to end: the auto-collapse timer's cases, each in a fresh host, and the
// views and constraints rebuilds leave behind. The switches themselves are scenarios in
// tests/scenarios/modes.
#include "entry/properties.h"
#include "platform/springboard/springboard.h"
#include "sim/sim_fixture.h"

#include <gtest/gtest.h>

namespace {

const std::string kPlaying =
    "pref Enabled YES\nlaunch\nplay \"Title\" \"Artist\" artwork-sunset.jpg\nwait 2\n";
const std::string kSwitch = "tap veyArtworkButton\nwait 1\n";

std::size_t viewsIn(const UIView* view) {
    std::size_t count = 1;
    for (auto& sub : view->subviews())
        count += viewsIn(sub);
    return count;
}

using ModesScenario = SimulatorTest;

} // namespace

// After a switch to mini at t = 0, each script checks whether the player collapsed by itself.
class AutoCollapse : public SimulatorTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(AutoCollapse, FiresOnlyWhenNothingHappenedSince) {
    run(kPlaying + "tap veyArtworkButton\n" + GetParam());
    EXPECT_EQ(errors_.str(), "");
}

const std::string kOpen = "expect state.hidden == NO\nexpect veyView.transform[5] == 0\n";
const std::string kCollapsed = "expect state.hidden == YES\nexpect veyView.transform[5] ~ 273\n";

INSTANTIATE_TEST_SUITE_P(
    Timers, AutoCollapse,
    ::testing::Values("wait 14.95\n" + kOpen + "wait 0.1\n" + kCollapsed,
                      // Manual actions within the last 5 s hold it off, earlier ones do not.
                      "wait 11\nswipe down\nwait 1\nswipe down\nwait 3.05\n" + kOpen,
                      "wait 5\nswipe down\nwait 1\nswipe down\nwait 9.05\n" + kCollapsed,
                      // A second switch makes the first timer stale and arms its own.
                      "wait 5\ntap veyArtworkButton\nwait 1\ntap veyArtworkButton\nwait 9.05\n" +
                          kOpen + "wait 6\n" + kCollapsed,
                      // 0 arms nothing; below 0 the outgoing mini player collapses on the next
                      // turn, before the maxi rebuild undoes it.
                      "pref dismissTimeout 0\nwait 1\ntap veyArtworkButton\nwait 60\n" + kOpen,
                      "pref dismissTimeout -1\nwait 1\ntap veyArtworkButton\nwait 0.01\n" +
                          kCollapsed));

TEST_F(ModesScenario, TwoHundredSwitchesLeaveNothingBehind) {
    std::string twenty;
    for (int i = 0; i < 20; i++)
        twenty += kSwitch;
    run(kPlaying + twenty);
    UIView* sheet = SBCurrentLockScreen()->coverSheet;
    std::size_t views = viewsIn(SBCurrentLockScreen()->window);
    std::size_t constraints = NSLayoutConstraint::activeConstraints().size();
    std::vector<Weak<UIView>> replaced;
    for (AttachedProperty<UIView> property : std::initializer_list<AttachedProperty<UIView>>{
             prop::veyPauseButton, prop::veySongLabel, prop::artworkImageView,
             prop::veyMiniBackgroundView, prop::veyDissmissButton, prop::dismissIcon,
             prop::blurButtonView, prop::nowPlayingAppIcon})
        replaced.push_back(attached(sheet, property));

    for (int i = 0; i < 10; i++)
        run(twenty);
    // A tap and a swipe in one turn rebuild twice, ending maxi: the first rebuild's views go.
    run("tap veyArtworkButton\nswipe down\nwait 1\n");
    EXPECT_EQ(viewsIn(SBCurrentLockScreen()->window), views);
    EXPECT_EQ(NSLayoutConstraint::activeConstraints().size(), constraints);
    for (auto& view : replaced)
        EXPECT_FALSE(view) << "a replaced view is still alive";
}
