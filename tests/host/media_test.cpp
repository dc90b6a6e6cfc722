// The now-playing service, MRMediaRemoteGetNowPlayingInfo and SpringBoard's media controller:
// queue moves, commands recorded, and changes reported later through the selectors the
// plug-in hooks.
#include "host_fixture.h"

namespace {

std::string titleIn(id info) {
    auto* dict = cast<NSDictionary>(info);
    auto* t =
        dict ? cast<NSString>(dict->objectForKey(kMRMediaRemoteNowPlayingInfoTitle)) : nullptr;
    return t ? t->str() : "<nil>";
}

TEST(NowPlayingService, QueueMovesWrapAtTheEndAndRestartAtTheStart) {
    auto& s = MRNowPlayingService::shared();
    EXPECT_FALSE(s.changeTrack(1)); // nothing loaded
    s.play(track("A"));
    s.enqueue(track("B"));
    s.enqueue(track("C"));
    // Past the end: back to the first; before the first: the first again.
    for (auto [delta, title] : {std::pair{1, "B"}, {1, "C"}, {1, "A"}, {-1, "A"}}) {
        EXPECT_TRUE(s.changeTrack(delta));
        EXPECT_EQ(titleIn(s.nowPlayingInfo()), title);
    }
    // play inserts after the current track and keeps the rest of the queue.
    s.play(track("D"));
    s.changeTrack(1);
    EXPECT_EQ(titleIn(s.nowPlayingInfo()), "B");
    s.stop();
    EXPECT_FALSE(s.hasItem());
    EXPECT_FALSE(s.togglePlayPause());
}

TEST(NowPlayingService, InfoHasOnlyTheKeysTheTrackHasAndArtworkAsGiven) {
    auto& s = MRNowPlayingService::shared();
    EXPECT_EQ(s.nowPlayingInfo(), nullptr);
    MRTrack t;
    t.artist = "Only Artist";
    t.artworkData = NSData::make(std::vector<std::uint8_t>(6, 'x'));
    s.play(t);
    Ref<NSDictionary> info = s.nowPlayingInfo();
    ASSERT_TRUE(info);
    EXPECT_EQ(info->objectForKey(kMRMediaRemoteNowPlayingInfoTitle), nullptr);
    auto* artist = cast<NSString>(info->objectForKey(kMRMediaRemoteNowPlayingInfoArtist));
    EXPECT_EQ(artist ? artist->str() : "", "Only Artist");
    // Undecodable artwork still goes out as the app gave it.
    auto* data = cast<NSData>(info->objectForKey(kMRMediaRemoteNowPlayingInfoArtworkData));
    EXPECT_EQ(data ? data->length() : 0, 6u);
    EXPECT_EQ(s.currentArtwork(), nullptr);
}

TEST(NowPlayingService, GetNowPlayingInfoAnswersOnceLaterOnTheMainQueue) {
    std::vector<std::string> answers;
    auto ask = [&] {
        MRMediaRemoteGetNowPlayingInfo(dispatch_get_main_queue(), [&](NSDictionary* info) {
            answers.push_back(titleIn(info));
        });
    };
    MRNowPlayingService::shared().play(track("Later"));
    MainQueue::shared().runPending();
    ask();
    EXPECT_TRUE(answers.empty());
    MainQueue::shared().runFor(1);
    MRNowPlayingService::shared().stop();
    ask();
    MainQueue::shared().runPending();
    EXPECT_EQ(answers, (std::vector<std::string>{"Later", "<nil>"}));
}

TEST(MediaController, ResultsComeBackAsReportsAndRefusedCommandsAreRecorded) {
    SBRegisterHostClasses();
    installCountingHooks();
    id mc = send<id>(SBMediaController::cls(), "sharedInstance");
    auto reported = [] { return titleIn(SBMediaController::sharedInstance()->nowPlayingInfo()); };
    const std::string info = "SBMediaController setNowPlayingInfo:";
    const std::string playing =
        "SBMediaController _mediaRemoteNowPlayingApplicationIsPlayingDidChange:";
    auto& s = MRNowPlayingService::shared();
    s.play(track("One"));
    s.enqueue(track("Two"));
    EXPECT_TRUE(hostCalls.empty()); // reports come later, on the main queue
    MainQueue::shared().runPending();
    EXPECT_EQ(callCount(info), 1);
    EXPECT_EQ(callCount(playing), 1);
    EXPECT_EQ(reported(), "One");
    EXPECT_TRUE(send<bool>(mc, "isPlaying"));

    EXPECT_TRUE(send<bool>(mc, "changeTrack:eventSource:", 1, NSInteger(0)));
    EXPECT_TRUE(send<bool>(mc, "togglePlayPauseForEventSource:", NSInteger(0)));
    EXPECT_FALSE(send<bool>(mc, "isPlaying"));
    MainQueue::shared().runPending();
    EXPECT_EQ(callCount(info), 2);
    EXPECT_EQ(callCount(playing), 2);
    EXPECT_EQ(reported(), "Two");

    s.stop();
    MainQueue::shared().runPending();
    EXPECT_EQ(reported(), "<nil>");
    EXPECT_FALSE(send<bool>(mc, "changeTrack:eventSource:", -1, NSInteger(3)));
    const SBMediaCommand& refused = SBMediaController::sharedInstance()->commands().back();
    EXPECT_EQ(refused.delta, -1);
    EXPECT_EQ(refused.eventSource, 3);
    EXPECT_FALSE(refused.accepted);

    // Playing with nothing loaded reports nothing.
    s.setPlaying(true);
    MainQueue::shared().runPending();
    EXPECT_EQ(callCount(playing), 2);
    EXPECT_FALSE(s.isPlaying());
}

} // namespace
