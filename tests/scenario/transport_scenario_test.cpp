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
// setting allows; the stock platter collapsed. Then what the switch to mini sends.
void expectClearedForMaxi(SimulatorTest& t, bool tweaks) {
    t.run(std::string("pref Enabled YES\npref hideNotificationTweaksSwitch ") +
          (tweaks ? "YES" : "NO") + "\nlaunch\nwait 1\nplay \"A\" \"B\"\nwait 0.29\n");
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

    send(sheet(), "hideNotifications:", false);
    t.run("wait 1\n");
    JsonValue back = t.dump()["host"];
    EXPECT_FALSE(back["notificationList"]["hidden"].boolean);
    EXPECT_EQ(back["notificationList"]["alpha"].number, 1);
    EXPECT_FALSE(back["adjunctStack"]["hidden"].boolean);
}

} // namespace

TEST_F(TransportScenario, ButtonsCommandTheHostSpringAndASkipSlidesTheArtworkOnce) {
    run("device 320x693\npref Enabled YES\nlaunch\nplay \"A\" \"B\" artwork-sunset.jpg\n"
        "queue \"C\" \"D\" artwork-ocean.png\nwait 3\n");
    EXPECT_EQ(dump()["views"]["pausePlayIcon"]["image"]["symbol"].string, "pause.fill");
    struct Tap {
        const char* button;
        const char* command;
        double delta, prevAction, move;
    };
    for (Tap tap : {Tap{"veySkipButton", "changeTrack", 1, -1, 17.6},
                    Tap{"veyRewindButton", "changeTrack", -1, 1, -17.6},
                    Tap{"veyPauseButton", "togglePlayPause", 0, 0, 0}}) {
        SCOPED_TRACE(tap.button);
        run(std::string("tap ") + tap.button + "\n");
        JsonValue d = dump();
        const JsonValue& command = d["host"]["mediaCommands"].items.back();
        EXPECT_EQ(command["command"].string, tap.command);
        if (tap.delta) {
            EXPECT_EQ(command["delta"].number, tap.delta);
        }
        EXPECT_EQ(d["state"]["prevAction"].number, tap.prevAction);
        auto pressed = numbers(d["views"][tap.button]["transform"]);
        EXPECT_EQ(pressed[0], 1.2);
        EXPECT_EQ(pressed[3], 1.2);
        EXPECT_NEAR(pressed[4], tap.move, 1e-9);
        auto* button = cast<UIView>(send<id>(sheet(), tap.button));
        run("wait 0.075\n");
        CGAffineTransform mid = button->presentationTransform();
        EXPECT_GT(mid.a, 1);
        EXPECT_LT(mid.a, 1.2);
        EXPECT_LT(std::abs(mid.tx), std::abs(tap.move) + 1e-9);
        EXPECT_GE(mid.tx * tap.move, 0);
        if (tap.delta == 1) {
            run("wait 0.075\n");
            EXPECT_LT(numbers(dump()["views"]["artworkImageView"]["transform"])[4], 0)
                << "the artwork slides out to the left";
        }
        run("wait 2\n");
        EXPECT_EQ(button->presentationTransform(), CGAffineTransformIdentity);
        EXPECT_EQ(dump()["state"]["prevAction"].number, tap.delta ? 2 : 0);
    }
    JsonValue paused = dump();
    EXPECT_FALSE(paused["state"]["isPlayingMusic"].boolean);
    const JsonValue& icon = paused["views"]["pausePlayIcon"];
    EXPECT_EQ(icon["image"]["symbol"].string, "play.fill");
    EXPECT_TRUE(icon["image"]["template"].boolean);
    EXPECT_EQ(numbers(icon["tintColor"]), numbers(paused["views"]["veyView"]["tintColor"]));

    run("play \"E\" \"F\" artwork-forest.jpg\nwait 0.15\n");
    EXPECT_EQ(numbers(dump()["views"]["artworkImageView"]["transform"]),
              (std::vector<double>{1, 0, 0, 1, 0, 0}))
        << "a track change from elsewhere does not slide";
}

TEST_F(TransportScenario, MaxiClearsTheLockScreenWithTheStack) {
    expectClearedForMaxi(*this, true);
}

TEST_F(TransportScenario, MaxiLeavesTheStackWhenTheSettingIsOff) {
    expectClearedForMaxi(*this, false);
}
