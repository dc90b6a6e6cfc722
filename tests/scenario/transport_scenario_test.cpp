// The transport buttons and the cleared lock screen end to end, through the simulator. What the
// dump does not show (values in the middle of an animation) is read from the running host.
#include "platform/springboard/springboard.h"
#include "sim/sim_fixture.h"

#include <gtest/gtest.h>

namespace {

std::vector<double> numbers(const JsonValue& array) {
    std::vector<double> out;
    for (auto& item : array.items)
        out.push_back(item.number);
    return out;
}

using TransportScenario = SimulatorTest;

UIView* sheet() {
    return SBCurrentLockScreen()->coverSheet;
}

// In maxi: the list faded at once and hidden 0.3 s after the hide, with the stack when the
// setting allows; the stock platter collapsed.
void expectClearedForMaxi(SimulatorTest& t, bool tweaks) {
    t.run(std::string("pref Enabled YES\npref hideNotificationTweaksSwitch ") +
          (tweaks ? "YES" : "NO") +
          "\nlaunch\nwait 1\nplay \"A\" \"B\" artwork-ocean.png\nwait 0.29\n");
    JsonValue fading = t.dump()["host"];
    EXPECT_EQ(fading["notificationList"]["alpha"].number, 0);
    EXPECT_FALSE(fading["notificationList"]["hidden"].boolean);
    t.run("wait 0.02\n");
    JsonValue host = t.dump()["host"];
    EXPECT_TRUE(host["notificationList"]["hidden"].boolean);
    EXPECT_EQ(host["adjunctStack"]["hidden"].boolean, tweaks);
    EXPECT_EQ(host["adjunctStack"]["alpha"].number, tweaks ? 0 : 1);
    EXPECT_TRUE(host["stockPlayer"]["hidden"].boolean);
    EXPECT_EQ(numbers(host["stockPlayer"]["frame"])[3], 0);

    // What the switch to mini sends: the list comes back.
    send(sheet(), "hideNotifications:", false);
    t.run("wait 1\n");
    JsonValue back = t.dump()["host"];
    EXPECT_FALSE(back["notificationList"]["hidden"].boolean);
    EXPECT_EQ(back["notificationList"]["alpha"].number, 1);
    EXPECT_EQ(back["adjunctStack"]["hidden"].boolean, false);
}

} // namespace

TEST_F(TransportScenario, ButtonsCommandTheHostAndASkipSlidesTheArtworkOnce) {
    run("pref Enabled YES\nlaunch\nplay \"A\" \"B\" artwork-sunset.jpg\n"
        "queue \"C\" \"D\" artwork-ocean.png\nwait 3\n");
    JsonValue playing = dump();
    EXPECT_EQ(playing["views"]["pausePlayIcon"]["image"]["symbol"].string, "pause.fill");

    run("tap veySkipButton\n");
    JsonValue skipped = dump();
    const JsonValue& command = skipped["host"]["mediaCommands"].items.back();
    EXPECT_EQ(command["command"].string, "changeTrack");
    EXPECT_EQ(command["delta"].number, 1);
    EXPECT_EQ(skipped["state"]["prevAction"].number, -1);
    run("wait 0.15\n");
    EXPECT_LT(numbers(dump()["views"]["artworkImageView"]["transform"])[4], 0) << "slides left";
    run("wait 2\n");
    JsonValue slid = dump();
    EXPECT_EQ(slid["state"]["prevAction"].number, 2);
    EXPECT_EQ(slid["state"]["coverName"].string, "C ");

    run("tap veyRewindButton\n");
    JsonValue rewound = dump();
    EXPECT_EQ(rewound["host"]["mediaCommands"].items.back()["delta"].number, -1);
    EXPECT_EQ(rewound["state"]["prevAction"].number, 1);
    run("wait 2\nplay \"E\" \"F\" artwork-forest.jpg\nwait 0.15\n");
    EXPECT_EQ(numbers(dump()["views"]["artworkImageView"]["transform"]),
              (std::vector<double>{1, 0, 0, 1, 0, 0}))
        << "a track change from elsewhere does not slide";

    run("tap veyPauseButton\nwait 1\n");
    JsonValue paused = dump();
    EXPECT_EQ(paused["host"]["mediaCommands"].items.back()["command"].string, "togglePlayPause");
    EXPECT_EQ(paused["state"]["prevAction"].number, 0);
    EXPECT_FALSE(paused["state"]["isPlayingMusic"].boolean);
    const JsonValue& icon = paused["views"]["pausePlayIcon"];
    EXPECT_EQ(icon["image"]["symbol"].string, "play.fill");
    EXPECT_TRUE(icon["image"]["template"].boolean);
    EXPECT_EQ(numbers(icon["tintColor"]), numbers(paused["views"]["veyView"]["tintColor"]));
}

TEST_F(TransportScenario, ThePressedSkipButtonMovesAndGrowsThenReturns) {
    run("device 320x693\npref Enabled YES\nlaunch\nplay \"A\" \"B\"\nwait 1\ntap veySkipButton\n");
    auto pressed = numbers(dump()["views"]["veySkipButton"]["transform"]);
    ASSERT_EQ(pressed.size(), 6u);
    EXPECT_EQ(pressed[0], 1.2);
    EXPECT_EQ(pressed[3], 1.2);
    EXPECT_NEAR(pressed[4], 17.6, 1e-9);
    auto* button = cast<UIView>(send<id>(sheet(), "veySkipButton"));
    ASSERT_NE(button, nullptr);
    run("wait 0.075\n");
    CGAffineTransform mid = button->presentationTransform();
    EXPECT_GT(mid.a, 1);
    EXPECT_LT(mid.a, 1.2);
    EXPECT_GT(mid.tx, 0);
    EXPECT_LT(mid.tx, 17.6);
    run("wait 0.3\n");
    EXPECT_EQ(numbers(dump()["views"]["veySkipButton"]["transform"]),
              (std::vector<double>{1, 0, 0, 1, 0, 0}));
    EXPECT_EQ(button->presentationTransform(), CGAffineTransformIdentity);
}

TEST_F(TransportScenario, MaxiClearsTheLockScreenWithTheStack) {
    expectClearedForMaxi(*this, true);
}

TEST_F(TransportScenario, MaxiLeavesTheStackWhenTheSettingIsOff) {
    expectClearedForMaxi(*this, false);
}
