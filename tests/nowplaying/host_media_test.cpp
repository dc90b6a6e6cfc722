// The plug-in's layer over the host's media services: commands reach the media controller with
// event source 0, and the info comes back later, on the main queue.
#include "media/host_media.h"
#include "nowplaying_fixture.h"

using namespace nowplaying;

namespace {

struct HostMediaTest : NowPlayingTest {};

} // namespace

TEST_F(HostMediaTest, CommandsGoToTheSharedMediaController) {
    EXPECT_EQ(hostMediaControllerClass(), SBMediaController::cls());
    EXPECT_EQ(hostMediaController(), SBMediaController::sharedInstance());
    play("One", "Artist", nullptr);
    play("Two", "Artist", nullptr);
    hostChangeTrack(-1);
    hostTogglePlayPause();
    const auto& commands = SBMediaController::sharedInstance()->commands();
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].command, "changeTrack");
    EXPECT_EQ(commands[0].delta, -1);
    EXPECT_EQ(commands[0].eventSource, 0);
    EXPECT_EQ(commands[1].command, "togglePlayPause");
    EXPECT_EQ(commands[1].eventSource, 0);
    EXPECT_EQ(hostMediaIsPlaying(), MRNowPlayingService::shared().isPlaying());
}

TEST_F(HostMediaTest, InfoArrivesLaterOnTheMainQueue) {
    play("Title", std::nullopt, nullptr);
    int calls = 0;
    std::string title;
    bool artistMissing = false;
    hostRequestNowPlayingInfo([&](NSDictionary* info) {
        ++calls;
        if (auto* text = cast<NSString>(nowPlayingValue(info, kMRMediaRemoteNowPlayingInfoTitle)))
            title = text->str();
        artistMissing = !nowPlayingValue(info, kMRMediaRemoteNowPlayingInfoArtist);
    });
    EXPECT_EQ(calls, 0);
    MainQueue::shared().runPending();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(title, "Title");
    EXPECT_TRUE(artistMissing);
    EXPECT_FALSE(nowPlayingValue(nullptr, kMRMediaRemoteNowPlayingInfoTitle));
}
