// The transport buttons' commands and press springs, and the play state the host reports.
#include "tests/controls/transport_fixture.h"

#include <optional>

using namespace transporttest;

namespace {

using Transport = LockScreenTest;

void expectPress(CGAffineTransform t, double scale, double tx) {
    EXPECT_NEAR(t.a, scale, 1e-9);
    EXPECT_NEAR(t.d, scale, 1e-9);
    EXPECT_NEAR(t.tx, tx, 1e-9);
    EXPECT_EQ(t.b, 0);
    EXPECT_EQ(t.c, 0);
    EXPECT_EQ(t.ty, 0);
}

} // namespace

TEST_F(Transport, EachButtonSendsItsCommandAndSpringsOutAndBack) {
    launch();
    struct Case {
        const char* selector;
        int prevAction;
        const char* command;
        std::optional<int> delta;
        AttachedProperty<UIButton> button;
        double move; // points, with a 320-point-wide player
    };
    const Case cases[] = {
        {"rewindSong", 1, "changeTrack", -1, prop::veyRewindButton, -17.6},
        {"skipSong", -1, "changeTrack", +1, prop::veySkipButton, 17.6},
        {"pausePlaySong", 0, "togglePlayPause", std::nullopt, prop::veyPauseButton, 0},
    };
    const auto& commands = SBMediaController::sharedInstance()->commands();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selector);
        send(sheet(), c.selector);
        EXPECT_EQ(prevAction, c.prevAction);
        ASSERT_FALSE(commands.empty());
        EXPECT_EQ(commands.back().command, c.command);
        EXPECT_EQ(commands.back().delta, c.delta);
        EXPECT_EQ(commands.back().eventSource, 0);
        UIButton* button = part(c.button);
        expectPress(button->transform(), 1.2, c.move);
        run(0.075);
        CGAffineTransform mid = button->presentationTransform();
        EXPECT_GT(mid.a, 1);
        EXPECT_LT(mid.a, 1.2);
        EXPECT_LT(std::abs(mid.tx), std::abs(c.move) + 1e-9);
        EXPECT_GE(mid.tx * c.move, 0);
        run(0.075 + 0.15);
        expectPress(button->transform(), 1, 0);
        expectPress(button->presentationTransform(), 1, 0);
    }
}

TEST_F(Transport, APressDuringAPressSendsAgainAndStartsANewPair) {
    launch();
    UIButton* button = part(prop::veySkipButton);
    send(sheet(), "skipSong");
    run(0.1);
    send(sheet(), "skipSong");
    EXPECT_EQ(SBMediaController::sharedInstance()->commands().size(), 2u);
    ASSERT_FALSE(button->animations().empty());
    EXPECT_EQ(button->animations().back().begin, MainQueue::shared().nowNanos());
    run(0.5);
    expectPress(button->transform(), 1, 0);
    expectPress(button->presentationTransform(), 1, 0);
}

TEST_F(Transport, ThePlayStateSetsTheIconAndIsKeptWithoutOne) {
    launch();
    MRTrack track;
    track.title = "Low Tide";
    MRNowPlayingService::shared().play(track);
    run(1);
    UIImageView* icon = part(prop::pausePlayIcon);
    for (bool playing : {false, true}) {
        MRNowPlayingService::shared().setPlaying(playing);
        run(0.1);
        ASSERT_NE(icon->image(), nullptr);
        EXPECT_EQ(icon->image()->symbolName(), playing ? "pause.fill" : "play.fill");
        EXPECT_TRUE(icon->image()->isTemplate());
        EXPECT_EQ(isPlayingMusic, playing);
    }
    setAttached(sheet(), prop::pausePlayIcon, nullptr);
    MRNowPlayingService::shared().setPlaying(false);
    run(0.1);
    EXPECT_FALSE(isPlayingMusic);
}
