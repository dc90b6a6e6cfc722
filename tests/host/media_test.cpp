// The now-playing service, MRMediaRemoteGetNowPlayingInfo and SpringBoard's media controller:
// queue moves, commands recorded, and changes reported later through the selectors the
// plug-in hooks.
#include "host_fixture.h"

namespace {

MRTrack track(std::string title) {
    MRTrack t;
    t.title = std::move(title);
    return t;
}

std::string titleIn(id info) {
    auto* dict = cast<NSDictionary>(info);
    auto* t =
        dict ? cast<NSString>(dict->objectForKey(kMRMediaRemoteNowPlayingInfoTitle)) : nullptr;
    return t ? t->str() : "<nil>";
}

// What the media controller reported to itself last, through the runtime.
std::string reportedTitle() {
    return titleIn(SBMediaController::sharedInstance()->nowPlayingInfo());
}
const std::string kInfo = "SBMediaController setNowPlayingInfo:";
const std::string kPlaying =
    "SBMediaController _mediaRemoteNowPlayingApplicationIsPlayingDidChange:";

TEST(NowPlayingService, QueueMovesWrapAtTheEndAndRestartAtTheStart) {
    auto& s = MRNowPlayingService::shared();
    EXPECT_FALSE(s.changeTrack(1)); // nothing loaded
    s.play(track("A"));
    s.enqueue(track("B"));
    s.enqueue(track("C"));
    EXPECT_TRUE(s.changeTrack(1));
    EXPECT_EQ(titleIn(s.nowPlayingInfo()), "B");
    s.changeTrack(1);
    s.changeTrack(1); // past the end: back to the first
    EXPECT_EQ(titleIn(s.nowPlayingInfo()), "A");
    s.changeTrack(-1); // before the first: the first again
    EXPECT_EQ(titleIn(s.nowPlayingInfo()), "A");
    // play inserts after the current track and keeps the rest of the queue.
    s.play(track("D"));
    EXPECT_EQ(titleIn(s.nowPlayingInfo()), "D");
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
    t.artworkData = NSData::make(std::vector<std::uint8_t>{'n', 'o', 't', ' ', 'j', 'p'});
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
    auto& s = MRNowPlayingService::shared();
    std::vector<std::string> answers;
    auto ask = [&] {
        MRMediaRemoteGetNowPlayingInfo(dispatch_get_main_queue(), [&](NSDictionary* info) {
            answers.push_back(titleIn(info));
        });
    };
    s.play(track("Later"));
    MainQueue::shared().runPending();
    ask();
    EXPECT_TRUE(answers.empty());
    MainQueue::shared().runFor(1);
    s.stop();
    ask();
    MainQueue::shared().runPending();
    EXPECT_EQ(answers, (std::vector<std::string>{"Later", "<nil>"}));
}

TEST(MediaController, CommandsAreRecordedAndTheirResultsComeBackAsReports) {
    SBRegisterHostClasses();
    installCountingHooks();
    id mc = send<id>(SBMediaController::cls(), "sharedInstance");
    ASSERT_EQ(mc, SBMediaController::sharedInstance());

    auto& s = MRNowPlayingService::shared();
    s.play(track("One"));
    s.enqueue(track("Two"));
    EXPECT_TRUE(hostCalls.empty()); // reports come later, on the main queue
    MainQueue::shared().runPending();
    EXPECT_EQ(callCount(kInfo), 1);
    EXPECT_EQ(callCount(kPlaying), 1);
    EXPECT_EQ(reportedTitle(), "One");
    EXPECT_TRUE(send<bool>(mc, "isPlaying"));

    EXPECT_TRUE(send<bool>(mc, "changeTrack:eventSource:", 1, NSInteger(0)));
    EXPECT_TRUE(send<bool>(mc, "togglePlayPauseForEventSource:", NSInteger(0)));
    EXPECT_FALSE(send<bool>(mc, "isPlaying"));
    MainQueue::shared().runPending();
    EXPECT_EQ(callCount(kInfo), 2);
    EXPECT_EQ(callCount(kPlaying), 2);
    EXPECT_EQ(reportedTitle(), "Two");

    s.stop();
    MainQueue::shared().runPending();
    EXPECT_EQ(reportedTitle(), "<nil>");
    EXPECT_FALSE(send<bool>(mc, "changeTrack:eventSource:", -1, NSInteger(3)));
    std::vector<std::string> commands;
    for (auto& c : SBMediaController::sharedInstance()->commands())
        commands.push_back(c.command + " " + (c.delta ? std::to_string(*c.delta) : "-") + " " +
                           std::to_string(c.eventSource) + (c.accepted ? " accepted" : " refused"));
    EXPECT_EQ(commands,
              (std::vector<std::string>{"changeTrack 1 0 accepted", "togglePlayPause - 0 accepted",
                                        "changeTrack -1 3 refused"}));
}

TEST(MediaController, PlayingWithNothingLoadedReportsNothing) {
    SBRegisterHostClasses();
    installCountingHooks();
    SBMediaController::sharedInstance();
    MRNowPlayingService::shared().setPlaying(true);
    MainQueue::shared().runPending();
    EXPECT_EQ(callCount(kPlaying), 0);
    EXPECT_FALSE(MRNowPlayingService::shared().isPlaying());
}

} // namespace
