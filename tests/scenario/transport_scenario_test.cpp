// The mini player entered while a track's hide is pending shows the notifications on screen,
// read from the rendered screen where the dump cannot tell.
#include "platform/springboard/springboard.h"
#include "sim/render/render.h"
#include "sim/sim_fixture.h"

#include <gtest/gtest.h>

namespace {

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

} // namespace

TEST_F(SimulatorTest, TheMiniPlayerEnteredAsATrackStartsKeepsTheNotifications) {
    run("pref Enabled YES\nlaunch\nwait 1\nplay \"A\" \"B\" artwork-sunset.jpg\nwait 0.1\n"
        "tap veyArtworkButton\nwait 1\n");
    JsonValue list = dump()["host"]["notificationList"];
    EXPECT_FALSE(list["hidden"].boolean);
    EXPECT_EQ(list["alpha"].number, 1);
    EXPECT_GT(notificationContrast(), 30);
    run("tap veyArtworkButton\nwait 1\n");
    EXPECT_LT(std::abs(notificationContrast()), 10);
}
