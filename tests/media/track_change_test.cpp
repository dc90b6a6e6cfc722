// A track change from the host to the player: text, visibility, artwork and background at their
// times, what is missing or unchanged, and the host's media services underneath.
#include "media/host_media.h"
#include "media_fixture.h"

using namespace media;

namespace {

struct TrackChangeTest : PlayerTest {};

double lastAnimationStart(UIView* view) {
    return view->animations().empty() ? -1 : view->animations().back().begin / 1e9;
}

void ignoreArtwork(id, SEL, id) {}

} // namespace

TEST_F(TrackChangeTest, TextAtOnceArtworkAndBackgroundAfterTheirDelaysUntilNothingPlays) {
    player()->setHidden(YES);
    player()->setAlpha(0);
    background()->setHidden(YES);
    double t0 = play("Four", "Artist", artwork(60, 60, 0x20c020, 0xf0f0f0));
    EXPECT_EQ(song()->textString(), "Four ");
    EXPECT_EQ(artist()->textString(), "Artist ");
    EXPECT_FALSE(player()->isHidden() || background()->isHidden());
    EXPECT_EQ(player()->alpha(), 1);
    EXPECT_TRUE(CGAffineTransformIsIdentity(player()->transform()));
    // The fade-ins are recorded to start 3 s and 2 s later.
    EXPECT_DOUBLE_EQ(lastAnimationStart(player()), t0 + 3.0);
    EXPECT_DOUBLE_EQ(lastAnimationStart(background()), t0 + 2.0);
    runUntil(t0 + 0.099);
    EXPECT_FALSE(highresImage);
    // 0.1 s: decoded, styled, accepted; the background cross-dissolves in for 0.5 s ...
    runUntil(t0 + 0.1);
    ASSERT_TRUE(highresImage && blurredImage);
    EXPECT_EQ(background()->image(), blurredImage.get());
    ASSERT_FALSE(background()->transitions().empty());
    EXPECT_EQ(background()->transitions().back().duration, secondsToNanos(0.5));
    EXPECT_NE(artworkView()->image(), highresImage.get());
    // ... and 0.1 s later the artwork, for 0.2 s.
    runUntil(t0 + 0.2);
    EXPECT_EQ(artworkView()->image(), highresImage.get());
    ASSERT_FALSE(artworkView()->transitions().empty());
    EXPECT_EQ(artworkView()->transitions().back().duration, secondsToNanos(0.2));

    MRNowPlayingService::shared().stop();
    MainQueue::shared().runPending();
    EXPECT_TRUE(background()->isHidden());
    EXPECT_EQ(background()->alpha(), 0);
    EXPECT_EQ(player()->alpha(), 0);
}

TEST_F(TrackChangeTest, AMissingTitleShowsNotAvailableAndTheGlitchWritesTheTitleItself) {
    play("Title", "Artist", nullptr);
    play(std::nullopt, "Artist", nullptr);
    EXPECT_EQ(song()->textString(), "N/A");
    EXPECT_EQ(coverName, "Title ");
    // The lock screen's artwork view writes the title whatever the glitch: keep it out.
    IMP unused = nullptr;
    MSHookMessageEx(MRUArtworkView::cls(), sel("setArtworkImage:"),
                    reinterpret_cast<IMP>(&ignoreArtwork), &unused);
    enableGlitch = shouldGlitch = YES;
    play("New", "Other", nullptr);
    EXPECT_EQ(coverName, "New ");
    EXPECT_EQ(song()->textString(), "N/A");
    EXPECT_EQ(artist()->textString(), "Other ");
}

TEST_F(TrackChangeTest, ACollapsedPlayerStaysBelowWithoutItsBackground) {
    hidden = YES;
    minOffsetValue = "20";
    play("Title", "Artist", nullptr);
    // 420 - 0.15 x 390 + 390 x 20 / 100.
    EXPECT_EQ(player()->transform(), CGAffineTransformMakeTranslation(0, 439.5));
    EXPECT_EQ(background()->alpha(), 0);
    run(4); // the delayed fade-in looks at hidden when it starts
    EXPECT_EQ(background()->presentationAlpha(), 0);
}

TEST_F(TrackChangeTest, EqualOrUndecodableArtworkLeavesTheShownOneAndItsColours) {
    play("One", "Artist", artwork(60, 60, 0x2040c0, 0xe0e020));
    run(2);
    UIImage* shown = artworkView()->image();
    UIImage* shownBackground = background()->image();
    ASSERT_TRUE(shown && shownBackground);
    for (bool decodes : {true, false}) {
        SCOPED_TRACE(decodes);
        Ref<UIColor> marker = UIColor::colorWithRed(0.1, 0.2, 0.3, 1);
        song()->setTextColor(marker);
        int refreshes = headerRefreshes;
        play("Two", "Other",
             decodes ? artwork(60, 60, 0x2040c0, 0xe0e020) : NSData::make("\x89PNG not", 8));
        run(2);
        EXPECT_EQ(artworkView()->image(), shown);
        EXPECT_EQ(background()->image(), shownBackground);
        EXPECT_TRUE(sameColor(song()->textColor(), marker));
        // Bytes that do not decode ask the stock header to refresh.
        EXPECT_EQ(headerRefreshes > refreshes, !decodes);
    }
}
