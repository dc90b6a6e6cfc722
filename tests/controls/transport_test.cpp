// A press during a press, and the play state kept before the player has its icon.
#include "tests/controls/transport_fixture.h"

using namespace transporttest;

using Transport = LockScreenTest;

TEST_F(Transport, APressDuringAPressSendsAgainAndStartsANewPair) {
    UIButton* button = attached(sheet(), prop::veySkipButton);
    send(sheet(), "skipSong");
    run(0.1);
    send(sheet(), "skipSong");
    EXPECT_EQ(SBMediaController::sharedInstance()->commands().size(), 2u);
    ASSERT_FALSE(button->animations().empty());
    EXPECT_EQ(button->animations().back().begin, MainQueue::shared().nowNanos());
    run(0.5);
    EXPECT_EQ(button->transform(), CGAffineTransformIdentity);
    EXPECT_EQ(button->presentationTransform(), CGAffineTransformIdentity);
}

TEST_F(Transport, ThePlayStateIsKeptBeforeThePlayerHasItsIcon) {
    setAttached(sheet(), prop::pausePlayIcon, nullptr);
    MRNowPlayingService::shared().play({});
    for (bool playing : {true, false}) {
        MRNowPlayingService::shared().setPlaying(playing);
        run(0.1);
        EXPECT_EQ(isPlayingMusic, playing);
    }
}
