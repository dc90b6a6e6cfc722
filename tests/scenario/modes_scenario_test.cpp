// Layout switches, collapse and auto-collapse end to end: scenarios run through the simulator
// with the built plug-in, checked in the state dump at chosen virtual times.
#include "entry/properties.h"
#include "platform/springboard/springboard.h"
#include "sim/sim_fixture.h"

#include <gtest/gtest.h>

namespace {

const std::string kPlaying =
    "pref Enabled YES\nlaunch\nplay \"Title\" \"Artist\" artwork-sunset.jpg\nwait 2\n";
const std::string kSwitch = "tap veyArtworkButton\nwait 1\n";

void expectNumbers(const JsonValue& array, std::vector<double> expected, const std::string& what) {
    ASSERT_EQ(array.items.size(), expected.size()) << what;
    for (std::size_t i = 0; i < expected.size(); i++)
        EXPECT_NEAR(array[i].number, expected[i], 0.01) << what << "[" << i << "]";
}

// The mini player slid down, only its top showing, the background gone and the chevron up.
void expectCollapsed(const JsonValue& d) {
    const JsonValue& views = d["views"];
    EXPECT_TRUE(d["state"]["hidden"].boolean);
    expectNumbers(views["veyView"]["transform"], {1, 0, 0, 1, 0, 273}, "player");
    EXPECT_EQ(views["veyBackgroundArtwork"]["alpha"].number, 0);
    EXPECT_EQ(views["dismissIcon"]["image"]["symbol"].string, "chevron.up");
    expectNumbers(views["dismissIcon"]["transform"], {0.5, 0, 0, 0.5, 0, 0}, "chevron");
}

std::size_t viewsIn(const UIView* view) {
    std::size_t count = 1;
    for (auto& sub : view->subviews())
        count += viewsIn(sub);
    return count;
}

using ModesScenario = SimulatorTest;

} // namespace

TEST_F(ModesScenario, MaxiToMiniAndBack) {
    run(kPlaying + kSwitch);
    JsonValue mini = dump();
    const JsonValue& views = mini["views"];
    ASSERT_EQ(mini["host"]["notificationList"]["frame"][2].number, 358);
    const std::pair<const char*, std::vector<double>> frames[] = {
        {"veyView", {0, 493, 390, 234}},
        {"artworkImageView", {28.275, 72.93, 134.55, 134.55}},
        {"veyPauseButton", {250.185, 155.805, 39, 39}},
        {"veySongLabel", {177.45, 105.495, 184.47, 42.12}},
        {"veyMiniBackgroundView", {16, 57.33, 358, 165.75}},
        {"veyDissmissButton", {329.15, 12.48, 35.1, 35.1}}};
    for (auto& [name, frame] : frames)
        expectNumbers(views[name]["frame"], frame, name);
    EXPECT_EQ(views["artworkImageView"]["cornerRadius"].number, 10);
    EXPECT_FALSE(views["veyDissmissButton"]["hidden"].boolean);
    EXPECT_EQ(views["veyDissmissButton"]["alpha"].number, 1);
    EXPECT_TRUE(views["nowPlayingAppIcon"]["hidden"].boolean);
    EXPECT_TRUE(mini["state"]["minimized"].boolean);
    EXPECT_EQ(mini["state"]["request"].number, 4);

    run(kSwitch);
    JsonValue maxi = dump();
    expectNumbers(maxi["views"]["veyView"]["frame"], {0, 285.9, 390, 425.5}, "veyView");
    const JsonValue& panel = maxi["views"]["veyMiniBackgroundView"]["frame"];
    EXPECT_NEAR(panel[2].number, 358, 0.01);
    EXPECT_NEAR(panel[3].number, 168.26, 0.01);
    EXPECT_TRUE(maxi["views"]["veyDissmissButton"]["hidden"].boolean);
    EXPECT_EQ(maxi["views"]["veyDissmissButton"]["superview"].string, "veyView");
    EXPECT_FALSE(maxi["state"]["minimized"].boolean);
    EXPECT_EQ(maxi["state"]["request"].number, 8);
}

TEST_F(ModesScenario, DownSwipeInMaxiSwitchesAndATapThenASwipeRebuildTwice) {
    run(kPlaying + "swipe down\nwait 1\n");
    EXPECT_TRUE(dump()["state"]["minimized"].boolean);
    expectNumbers(dump()["views"]["veyView"]["frame"], {0, 493, 390, 234}, "mini");
    run(kSwitch);
    std::size_t views = viewsIn(SBCurrentLockScreen()->window);

    // Both rebuilds read the flag as they run: mini first, then maxi again.
    run("tap veyArtworkButton\nswipe down\nwait 1\n");
    JsonValue d = dump();
    EXPECT_FALSE(d["state"]["minimized"].boolean);
    EXPECT_EQ(d["state"]["request"].number, 16);
    expectNumbers(d["views"]["veyView"]["frame"], {0, 285.9, 390, 425.5}, "maxi");
    EXPECT_EQ(viewsIn(SBCurrentLockScreen()->window), views)
        << "the first rebuild's views are gone";
}

TEST_F(ModesScenario, CollapseExpandAndASwitchWhileCollapsed) {
    run(kPlaying + kSwitch + "swipe down\nwait 1\n");
    expectCollapsed(dump());
    run("tap veyDissmissButton\nwait 1\n");
    JsonValue d = dump();
    const JsonValue& views = d["views"];
    EXPECT_FALSE(d["state"]["hidden"].boolean);
    expectNumbers(views["veyView"]["transform"], {1, 0, 0, 1, 0, 0}, "player");
    expectNumbers(views["veyDissmissButton"]["transform"], {1, 0, 0, 1, 0, 0}, "dismiss");
    EXPECT_EQ(views["dismissIcon"]["image"]["symbol"].string, "chevron.down");
    expectNumbers(views["dismissIcon"]["transform"], {0.5, 0, 0, 0.5, 0, 3.9}, "chevron");
    EXPECT_EQ(views["veyBackgroundArtwork"]["alpha"].number, 1);

    // The maxi player is never left off screen.
    run("swipe down\nwait 1\n" + kSwitch);
    JsonValue maxi = dump();
    EXPECT_FALSE(maxi["state"]["minimized"].boolean);
    EXPECT_FALSE(maxi["state"]["hidden"].boolean);
    expectNumbers(maxi["views"]["veyView"]["frame"], {0, 285.9, 390, 425.5}, "maxi");
    expectNumbers(maxi["views"]["veyView"]["transform"], {1, 0, 0, 1, 0, 0}, "maxi player");
    EXPECT_EQ(maxi["views"]["veyBackgroundArtwork"]["alpha"].number, 1);
}

struct TimerCase {
    const char* name;
    std::string script; // after a switch to mini at t = 0
    bool collapsed;
};
void PrintTo(const TimerCase& c, std::ostream* os) {
    *os << c.name;
}

class AutoCollapse : public SimulatorTest, public ::testing::WithParamInterface<TimerCase> {};

TEST_P(AutoCollapse, FiresOnlyWhenNothingHappenedSince) {
    run(kPlaying + "tap veyArtworkButton\n" + GetParam().script);
    JsonValue d = dump();
    EXPECT_EQ(d["state"]["hidden"].boolean, GetParam().collapsed);
    EXPECT_EQ(d["views"]["veyView"]["transform"][5].number, GetParam().collapsed ? 273 : 0);
    EXPECT_EQ(d["views"]["veyBackgroundArtwork"]["alpha"].number, GetParam().collapsed ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Timers, AutoCollapse,
    ::testing::Values(
        TimerCase{"FifteenSecondsAfter", "wait 15.05\n", true},
        TimerCase{"NotSooner", "wait 14.95\n", false},
        TimerCase{"ManualActionsWithinTheLastFiveSeconds",
                  "wait 11\nswipe down\nwait 1\nswipe down\nwait 3.05\n", false},
        TimerCase{"ManualActionsLongBefore", "wait 5\nswipe down\nwait 1\nswipe down\nwait 9.05\n",
                  true},
        TimerCase{"StaleAfterASecondSwitch",
                  "wait 5\ntap veyArtworkButton\nwait 1\ntap veyArtworkButton\nwait 9.05\n", false},
        TimerCase{"TheSecondSwitchArmsItsOwn",
                  "wait 5\ntap veyArtworkButton\nwait 1\ntap veyArtworkButton\nwait 15.05\n", true},
        TimerCase{"ZeroArmsNothing",
                  "pref dismissTimeout 0\nwait 1\ntap veyArtworkButton\nwait 60\n", false},
        // The outgoing mini player collapses at once; the maxi rebuild undoes it.
        TimerCase{"NegativeFiresOnTheNextTurn",
                  "pref dismissTimeout -1\nwait 1\ntap veyArtworkButton\nwait 0.01\n", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModesScenario, TwoHundredSwitchesLeaveNothingBehind) {
    // Pictures of cross-dissolves are not looked at here and cost most of the time.
    UIViewSetTransitionSnapshotHook(nullptr);
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
    EXPECT_EQ(viewsIn(SBCurrentLockScreen()->window), views);
    EXPECT_EQ(NSLayoutConstraint::activeConstraints().size(), constraints);
    for (auto& view : replaced)
        EXPECT_FALSE(view) << "a replaced view is still alive";
}
