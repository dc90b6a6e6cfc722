// The transport buttons and the cleared lock screen end to end, through the simulator. What the
// dump does not show (values in the middle of an animation) is read from the running host.
#include "platform/springboard/springboard.h"
#include "sim/render/render.h"
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

// How much lighter the first notification shows on screen than the wallpaper beside the list.
int notificationContrast() {
    UIView* list = SBCurrentLockScreen()->notificationList;
    CGRect at = list->convertRectToView(list->bounds(), nullptr);
    CGImageRef screen = renderScreen({1});
    auto lightness = [&](double x) {
        std::uint32_t p = screen->row(int(at.origin.y + 20))[int(x)];
        return int(pixelRed(p) + pixelGreen(p) + pixelBlue(p));
    };
    return lightness(at.origin.x + 6) - lightness(at.origin.x - 8);
}

// In maxi: the list faded at once and hidden 0.3 s after the hide, with the stack when the
// setting allows; the stock platter collapsed. The switch to mini brings both back at once and
// the switch back hides them again.
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

    t.run("wait 1\ntap veyArtworkButton\n");
    JsonValue mini = t.dump();
    EXPECT_EQ(mini["state"]["prevNotification"].number, -1);
    for (const char* name : {"notificationList", "adjunctStack"})
        EXPECT_FALSE(mini["host"][name]["hidden"].boolean) << name;
    t.run("wait 1\n");
    for (const char* name : {"notificationList", "adjunctStack"}) {
        const JsonValue view = t.dump()["host"][name];
        EXPECT_EQ(view["alpha"].number, 1) << name;
        EXPECT_EQ(numbers(view["transform"]), (std::vector<double>{1, 0, 0, 1, 0, 0})) << name;
    }

    t.run("tap veyArtworkButton\nwait 0.29\n");
    EXPECT_FALSE(t.dump()["host"]["notificationList"]["hidden"].boolean);
    t.run("wait 0.02\n");
    JsonValue maxi = t.dump()["host"];
    EXPECT_TRUE(maxi["notificationList"]["hidden"].boolean);
    EXPECT_EQ(maxi["adjunctStack"]["hidden"].boolean, tweaks);
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

// The track's own hide is still pending when the tap asks for the notifications back.
TEST_F(TransportScenario, TheMiniPlayerEnteredAsATrackStartsKeepsTheNotifications) {
    run("pref Enabled YES\nlaunch\nwait 1\nplay \"A\" \"B\" artwork-sunset.jpg\nwait 0.1\n"
        "tap veyArtworkButton\nwait 1\n");
    JsonValue list = dump()["host"]["notificationList"];
    EXPECT_FALSE(list["hidden"].boolean);
    EXPECT_EQ(list["alpha"].number, 1);
    EXPECT_GT(notificationContrast(), 30);
    run("tap veyArtworkButton\nwait 1\n");
    EXPECT_LT(std::abs(notificationContrast()), 10);
}
