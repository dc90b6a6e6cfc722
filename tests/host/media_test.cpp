// The now-playing service, MRMediaRemoteGetNowPlayingInfo and SpringBoard's media controller:
// queue moves, commands recorded, and changes reported later through the selectors the
// plug-in hooks.
#include "platform/springboard/springboard.h"

#include <gtest/gtest.h>

namespace {

MRTrack track(std::string title, std::string artist = "Artist") {
    MRTrack t;
    t.title = std::move(title);
    t.artist = std::move(artist);
    return t;
}

std::string currentTitle() {
    const MRTrack* t = MRNowPlayingService::shared().currentTrack();
    return t && t->title ? *t->title : "<none>";
}

// Counts the reports the media controller sends itself, and keeps the host's implementation.
struct Reports {
    static inline IMP infoOriginal = nullptr, playingOriginal = nullptr;
    static inline int infoCount = 0, playingCount = 0;
    static inline std::vector<std::string> titles;
    static void install() {
        Class c = SBMediaController::cls();
        MSHookMessageEx(c, sel("setNowPlayingInfo:"), reinterpret_cast<IMP>(&onInfo),
                        &infoOriginal);
        MSHookMessageEx(c, sel("_mediaRemoteNowPlayingApplicationIsPlayingDidChange:"),
                        reinterpret_cast<IMP>(&onPlaying), &playingOriginal);
    }
    static void onInfo(id self, SEL cmd, id info) {
        infoCount++;
        auto* dict = cast<NSDictionary>(info);
        auto* title =
            dict ? cast<NSString>(dict->objectForKey(kMRMediaRemoteNowPlayingInfoTitle)) : nullptr;
        titles.push_back(title ? title->str() : "<nil>");
        callIMP(infoOriginal, self, cmd, info);
    }
    static void onPlaying(id self, SEL cmd, id note) {
        playingCount++;
        callIMP(playingOriginal, self, cmd, note);
    }
};

TEST(NowPlayingService, QueueMovesWrapAtTheEndAndRestartAtTheStart) {
    auto& s = MRNowPlayingService::shared();
    EXPECT_FALSE(s.changeTrack(1)); // nothing loaded
    s.play(track("A"));
    s.enqueue(track("B"));
    s.enqueue(track("C"));
    EXPECT_EQ(currentTitle(), "A");
    EXPECT_TRUE(s.changeTrack(1));
    EXPECT_EQ(currentTitle(), "B");
    s.changeTrack(1);
    s.changeTrack(1); // past the end: back to the first
    EXPECT_EQ(currentTitle(), "A");
    s.changeTrack(-1); // before the first: the first again
    EXPECT_EQ(currentTitle(), "A");
    // play inserts after the current track and keeps the rest of the queue.
    s.play(track("D"));
    EXPECT_EQ(currentTitle(), "D");
    s.changeTrack(1);
    EXPECT_EQ(currentTitle(), "B");
    s.stop();
    EXPECT_FALSE(s.hasItem());
    EXPECT_FALSE(s.isPlaying());
    EXPECT_FALSE(s.togglePlayPause());
}

TEST(NowPlayingService, InfoHasOnlyTheKeysTheTrackHas) {
    auto& s = MRNowPlayingService::shared();
    EXPECT_EQ(s.nowPlayingInfo(), nullptr);
    MRTrack t;
    t.artist = "Only Artist";
    s.play(t);
    Ref<NSDictionary> info = s.nowPlayingInfo();
    ASSERT_TRUE(info);
    EXPECT_EQ(info->objectForKey(kMRMediaRemoteNowPlayingInfoTitle), nullptr);
    EXPECT_EQ(info->objectForKey(kMRMediaRemoteNowPlayingInfoArtworkData), nullptr);
    auto* artist = cast<NSString>(info->objectForKey(kMRMediaRemoteNowPlayingInfoArtist));
    ASSERT_TRUE(artist);
    EXPECT_EQ(artist->str(), "Only Artist");

    // Artwork goes out as the app gave it, decodable or not.
    MRTrack broken = track("Broken");
    broken.artworkData = NSData::make(std::vector<std::uint8_t>{'n', 'o', 't', ' ', 'j', 'p'});
    s.play(broken);
    auto* data =
        cast<NSData>(s.nowPlayingInfo()->objectForKey(kMRMediaRemoteNowPlayingInfoArtworkData));
    ASSERT_TRUE(data);
    EXPECT_EQ(data->length(), 6u);
    EXPECT_EQ(s.currentArtwork(), nullptr);
}

TEST(NowPlayingService, GetNowPlayingInfoAnswersOnceLaterOnTheMainQueue) {
    auto& s = MRNowPlayingService::shared();
    s.play(track("Later"));
    MainQueue::shared().runPending();
    int calls = 0;
    std::string title;
    MRMediaRemoteGetNowPlayingInfo(dispatch_get_main_queue(), [&](NSDictionary* info) {
        calls++;
        auto* t =
            info ? cast<NSString>(info->objectForKey(kMRMediaRemoteNowPlayingInfoTitle)) : nullptr;
        title = t ? t->str() : "<nil>";
    });
    EXPECT_EQ(calls, 0);
    MainQueue::shared().runPending();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(title, "Later");
    MainQueue::shared().runFor(1);
    EXPECT_EQ(calls, 1);

    s.stop();
    MRMediaRemoteGetNowPlayingInfo(dispatch_get_main_queue(), [&](NSDictionary* info) {
        calls++;
        title = info ? "<info>" : "<nil>";
    });
    MainQueue::shared().runPending();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(title, "<nil>");
}

TEST(MediaController, CommandsAreRecordedAndTheirResultsComeBackAsReports) {
    SBRegisterHostClasses();
    Reports::install();
    id mc = send<id>(SBMediaController::cls(), "sharedInstance");
    ASSERT_EQ(mc, SBMediaController::sharedInstance());

    auto& s = MRNowPlayingService::shared();
    s.play(track("One"));
    s.enqueue(track("Two"));
    EXPECT_EQ(Reports::infoCount, 0); // reports come later, on the main queue
    MainQueue::shared().runPending();
    EXPECT_EQ(Reports::infoCount, 1);
    EXPECT_EQ(Reports::playingCount, 1);
    EXPECT_TRUE(send<bool>(mc, "isPlaying"));

    EXPECT_TRUE(send<bool>(mc, "changeTrack:eventSource:", 1, NSInteger(0)));
    EXPECT_TRUE(send<bool>(mc, "togglePlayPauseForEventSource:", NSInteger(0)));
    EXPECT_FALSE(send<bool>(mc, "isPlaying"));
    MainQueue::shared().runPending();
    EXPECT_EQ(Reports::infoCount, 2);
    EXPECT_EQ(Reports::playingCount, 2);
    EXPECT_EQ(Reports::titles, (std::vector<std::string>{"One", "Two"}));

    s.stop();
    MainQueue::shared().runPending();
    EXPECT_FALSE(send<bool>(mc, "changeTrack:eventSource:", -1, NSInteger(3)));
    EXPECT_EQ(Reports::titles.back(), "<nil>");

    const auto& commands = SBMediaController::sharedInstance()->commands();
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0].command, "changeTrack");
    EXPECT_EQ(commands[0].delta, 1);
    EXPECT_TRUE(commands[0].accepted);
    EXPECT_EQ(commands[1].command, "togglePlayPause");
    EXPECT_FALSE(commands[1].delta.has_value());
    EXPECT_EQ(commands[2].delta, -1);
    EXPECT_EQ(commands[2].eventSource, 3);
    EXPECT_FALSE(commands[2].accepted);
}

TEST(MediaController, PauseWithNothingLoadedReportsNothing) {
    SBRegisterHostClasses();
    Reports::install();
    SBMediaController::sharedInstance();
    MRNowPlayingService::shared().setPlaying(true);
    MainQueue::shared().runPending();
    EXPECT_EQ(Reports::playingCount, 0);
    EXPECT_FALSE(MRNowPlayingService::shared().isPlaying());
}

} // namespace
