// A track change from the host to the player: text, visibility, artwork and background at
// their times, and the paths where something is missing.
#include "media/now_playing.h"
#include "nowplaying_fixture.h"

using namespace nowplaying;

namespace {

constexpr double kMs = 0.001;

struct TrackChangeTest : NowPlayingTest {};

} // namespace

TEST_F(TrackChangeTest, TextGetsOneTrailingSpaceAndThePlayerShows) {
    player()->setHidden(YES);
    player()->setAlpha(0);
    background()->setHidden(YES);
    play("Four", "Artist", artwork(40, 40, 0xff0000, 0x0000ff));
    EXPECT_EQ(coverName, "Four ");
    EXPECT_EQ(song()->textString(), "Four ");
    EXPECT_EQ(artistName, "Artist ");
    EXPECT_EQ(artist()->textString(), "Artist ");
    EXPECT_FALSE(player()->isHidden());
    EXPECT_EQ(player()->alpha(), 1);
    EXPECT_FALSE(background()->isHidden());
    EXPECT_EQ(background()->alpha(), 1);
    EXPECT_TRUE(CGAffineTransformIsIdentity(player()->transform()));
}

TEST_F(TrackChangeTest, MissingValuesShowNotAvailableAndKeepThePreviousText) {
    play("Title", "Artist", nullptr);
    play(std::nullopt, std::nullopt, nullptr);
    EXPECT_EQ(song()->textString(), "N/A");
    EXPECT_EQ(artist()->textString(), "N/A");
    EXPECT_EQ(coverName, "Title ");
    EXPECT_EQ(artistName, "Artist ");
}

void ignoreArtwork(id, SEL, id) {}

TEST_F(TrackChangeTest, TheGlitchEffectWritesTheTitleItself) {
    // The lock screen's artwork view writes the title whatever the glitch: keep it out.
    IMP unused = nullptr;
    MSHookMessageEx(MRUArtworkView::cls(), sel("setArtworkImage:"),
                    reinterpret_cast<IMP>(&ignoreArtwork), &unused);
    enableGlitch = YES;
    shouldGlitch = YES;
    song()->setText("old");
    play("New", "Artist", nullptr);
    EXPECT_EQ(coverName, "New ");
    EXPECT_EQ(song()->textString(), "old");
    EXPECT_EQ(artist()->textString(), "Artist ");
}

TEST_F(TrackChangeTest, ACollapsedPlayerStaysBelowWithoutItsBackground) {
    hidden = YES;
    minOffsetValue = "20";
    play("Title", "Artist", nullptr);
    CGRect b = player()->bounds();
    double expected = b.size.height - 0.15 * b.size.width + b.size.width * 20 / 100.0;
    EXPECT_EQ(player()->transform(), CGAffineTransformMakeTranslation(0, expected));
    EXPECT_EQ(background()->alpha(), 0);
    // The delayed fade-in looks at hidden when it starts: the background stays out.
    run(4);
    EXPECT_EQ(background()->presentationAlpha(), 0);
}

TEST_F(TrackChangeTest, NothingPlayingHidesThePlayerAndForgetsTheArtwork) {
    play("Title", "Artist", artwork(40, 40, 0xff0000, 0x0000ff));
    run(1);
    ASSERT_TRUE(highresImage);
    MRNowPlayingService::shared().stop();
    MainQueue::shared().runPending();
    EXPECT_FALSE(highresImage);
    EXPECT_TRUE(player()->isHidden());
    EXPECT_EQ(player()->alpha(), 0);
    EXPECT_TRUE(background()->isHidden());
    EXPECT_EQ(background()->alpha(), 0);
}

TEST_F(TrackChangeTest, ArtworkAndBackgroundArriveAfterTheirDelays) {
    Ref<NSData> bytes = artwork(60, 60, 0x20c020, 0xf0f0f0);
    double t0 = play("Title", "Artist", bytes);
    runUntil(t0 + 99 * kMs);
    EXPECT_FALSE(highresImage);
    EXPECT_FALSE(background()->image());
    // 0.1 s: decoded, styled, accepted; the background starts its 0.5 s cross-dissolve.
    runUntil(t0 + 100 * kMs);
    ASSERT_TRUE(highresImage);
    EXPECT_EQ(background()->image(), blurredImage.get());
    EXPECT_TRUE(blurredImage);
    ASSERT_FALSE(background()->transitions().empty());
    EXPECT_EQ(background()->transitions().back().duration, secondsToNanos(0.5));
    EXPECT_NE(artworkView()->image(), highresImage.get());
    // 0.1 s later the artwork cross-dissolves in for 0.2 s.
    runUntil(t0 + 200 * kMs);
    EXPECT_EQ(artworkView()->image(), highresImage.get());
    ASSERT_FALSE(artworkView()->transitions().empty());
    EXPECT_EQ(artworkView()->transitions().back().duration, secondsToNanos(0.2));
    EXPECT_EQ(artworkView()->transitions().back().begin, secondsToNanos(t0 + 0.2));
}

TEST_F(TrackChangeTest, ThePlayerAndBackgroundFadeInLate) {
    double t0 = play("Title", "Artist", nullptr);
    // The model is at 1 at once; the records say when the fade-ins run.
    auto last = [](UIView* view) { return view->animations().back(); };
    ASSERT_FALSE(player()->animations().empty());
    EXPECT_EQ(last(player()).begin, secondsToNanos(t0 + 3.0));
    EXPECT_EQ(last(player()).duration, secondsToNanos(1.0));
    ASSERT_FALSE(background()->animations().empty());
    EXPECT_EQ(last(background()).begin, secondsToNanos(t0 + 2.0));
    EXPECT_EQ(last(background()).duration, secondsToNanos(1.0));
}

TEST_F(TrackChangeTest, TheSameArtworkAgainIsNotRestyled) {
    play("One", "Artist", artwork(60, 60, 0x2040c0, 0xe0e020));
    run(2);
    UIImage* shown = artworkView()->image();
    ASSERT_TRUE(shown);
    UIImage* shownBackground = background()->image();
    Ref<UIColor> marker = UIColor::colorWithRed(0.1, 0.2, 0.3, 1);
    song()->setTextColor(marker);
    // Equal pixels, new bytes object: only the text changes.
    play("Two", "Artist", artwork(60, 60, 0x2040c0, 0xe0e020));
    run(2);
    EXPECT_EQ(song()->textString(), "Two ");
    EXPECT_EQ(artworkView()->image(), shown);
    EXPECT_EQ(background()->image(), shownBackground);
    EXPECT_TRUE(sameColor(song()->textColor(), marker));
}

TEST_F(TrackChangeTest, ArtworkThatDoesNotDecodeLeavesTheShownArtworkAlone) {
    play("One", "Artist", artwork(60, 60, 0x2040c0, 0xe0e020));
    run(2);
    Ref<UIImage> accepted = highresImage;
    UIImage* shown = artworkView()->image();
    Ref<UIColor> textColor = song()->textColor();
    int refreshes = headerRefreshes();
    const char garbage[] = "\x89PNG not really";
    play("Two", "Other", NSData::make(garbage, sizeof garbage));
    run(2);
    EXPECT_EQ(song()->textString(), "Two ");
    EXPECT_EQ(highresImage.get(), accepted.get());
    EXPECT_EQ(artworkView()->image(), shown);
    EXPECT_TRUE(sameColor(song()->textColor(), textColor));
    EXPECT_GT(headerRefreshes(), refreshes);
}

TEST(NowPlayingTextTest, ValueAndOneSpaceOrNothing) {
    EXPECT_EQ(nowPlayingText(NSString::make("Four"))->str(), "Four ");
    EXPECT_EQ(nowPlayingText(NSString::make(""))->str(), " ");
    EXPECT_FALSE(nowPlayingText(nullptr));
}
