// The same-image test, the lock screen's artwork view, and the slide after a skip or rewind.
#include "nowplaying_fixture.h"

using namespace nowplaying;

namespace {

struct ArtworkTest : NowPlayingTest {
    bool same(UIImage* image, UIImage* shown) {
        Ref<UIImageView> view = UIView::make<UIImageView>(CGRectMake(0, 0, 10, 10));
        view->setImage(shown);
        return send<bool>(sheet(), "isSameImage:asImageInView:", static_cast<id>(image),
                          static_cast<id>(view.get()));
    }
    double width() const { return sheet()->bounds().size.width; }
    static CGAffineTransform slid(double x) {
        return CGAffineTransformScale(CGAffineTransformMakeTranslation(x, 0), 0.85, 0.85);
    }
};

bool near(CGAffineTransform a, CGAffineTransform b) {
    double d[] = {a.a - b.a, a.b - b.b, a.c - b.c, a.d - b.d, a.tx - b.tx, a.ty - b.ty};
    for (double v : d)
        if (std::abs(v) > 1e-6) return false;
    return true;
}

} // namespace

TEST_F(ArtworkTest, SameImageComparesSizesThenSmallReductions) {
    Ref<UIImage> base = decoded(artwork(100, 100, 0x336699, 0xcc9933));
    // Equal pixels in another object, and a one-pixel detail a 10 x 10 reduction does not see.
    EXPECT_TRUE(same(decoded(artwork(100, 100, 0x336699, 0xcc9933)), base));
    EXPECT_TRUE(same(decoded(artwork(100, 100, 0x336699, 0xcc9933, 0x3366a0)), base));
    EXPECT_FALSE(same(decoded(artwork(100, 100, 0x336699, 0x339933)), base));
    EXPECT_FALSE(same(decoded(artwork(100, 101, 0x336699, 0xcc9933)), base));
    EXPECT_FALSE(same(nullptr, base));
    EXPECT_FALSE(same(base, nullptr));
    EXPECT_FALSE(same(UIImage::systemImageNamed("play.fill"), base)) << "no bitmap";
}

TEST_F(ArtworkTest, ScalingGivesAnOpaqueImageOfTheSizeAtScaleOne) {
    Ref<UIImage> source = decoded(artwork(64, 32, 0xff0000, 0x00ff00));
    auto* scaled = cast<UIImage>(
        send<id>(sheet(), "scaleImage:toSize:", static_cast<id>(source.get()), CGSizeMake(10, 10)));
    ASSERT_TRUE(scaled);
    EXPECT_EQ(scaled->size(), CGSizeMake(10, 10));
    EXPECT_EQ(scaled->scale(), 1);
    ASSERT_TRUE(scaled->CGImage());
    EXPECT_EQ(scaled->CGImage()->width, 10);
    std::uint32_t leftPixel = scaled->CGImage()->row(5)[1];
    std::uint32_t rightPixel = scaled->CGImage()->row(5)[8];
    EXPECT_EQ(pixelAlpha(leftPixel), 255u);
    EXPECT_GT(pixelRed(leftPixel), 200u);
    EXPECT_GT(pixelGreen(rightPixel), 200u);
}

TEST_F(ArtworkTest, TheArtworkViewHookActsOnlyOnTheLockScreen) {
    SBLockScreen* lockScreen = SBCurrentLockScreen();
    MRUArtworkView* lockArtwork = lockScreen->lockScreenControls()->artworkView();
    MRUArtworkView* otherArtwork = lockScreen->controlCenterControls->artworkView();
    Ref<UIImage> given = decoded(artwork(30, 30, 0x112233, 0x445566));

    // Elsewhere the host's implementation runs with the image given, at once.
    send(otherArtwork, "setArtworkImage:", given);
    EXPECT_EQ(otherArtwork->artworkImage(), given.get());

    // On the lock screen the host gets the artwork accepted before, once the info arrives.
    MRTrack track;
    track.title = "Lock";
    track.artist = "Screen";
    track.artworkData = artwork(50, 50, 0xa0a000, 0x00a0a0);
    MRNowPlayingService::shared().play(track);
    run(2);
    Ref<UIImage> accepted = highresImage;
    ASSERT_TRUE(accepted);
    send(lockArtwork, "setArtworkImage:", given);
    EXPECT_NE(lockArtwork->artworkImage(), given.get());
    song()->setText("");
    MainQueue::shared().runPending();
    EXPECT_EQ(lockArtwork->artworkImage(), accepted.get());
    EXPECT_EQ(song()->textString(), "Lock ");
}

TEST_F(ArtworkTest, TheLockScreenArtworkIsAcceptedUnlessAlreadyShown) {
    // Only the artwork view's path runs here: the player has not seen this artwork.
    MRTrack track;
    track.title = "Lock";
    track.artworkData = artwork(50, 50, 0x802080, 0x208020);
    MRNowPlayingService::shared().play(track);
    run(0.6);
    Ref<UIImage> first = highresImage;
    ASSERT_TRUE(first);
    highresImage = nullptr;
    MRUArtworkView* lockArtwork = SBCurrentLockScreen()->lockScreenControls()->artworkView();
    double t0 = now();
    send(lockArtwork, "setArtworkImage:", static_cast<id>(nullptr));
    runUntil(t0 + 0.29);
    EXPECT_FALSE(highresImage);
    runUntil(t0 + 0.3);
    EXPECT_FALSE(highresImage) << "equal to the artwork shown: not accepted again";

    artworkView()->setImage(nullptr);
    t0 = now();
    send(lockArtwork, "setArtworkImage:", static_cast<id>(nullptr));
    runUntil(t0 + 0.3);
    ASSERT_TRUE(highresImage);
    EXPECT_EQ(highresImage->CGImage()->width, first->CGImage()->width);
}

TEST_F(ArtworkTest, OneSkipPressSlidesOnce) {
    prevAction = -1; // skip pressed on the player
    double t0 = play("One", "Artist", artwork(60, 60, 0x112233, 0x445566));
    double t1 = t0 + 0.1; // the artwork load
    runUntil(t1);
    EXPECT_EQ(prevAction, 2);
    EXPECT_TRUE(animating);
    EXPECT_FALSE(skippedTrack);
    // Out to the left ...
    EXPECT_EQ(artworkView()->alpha(), 0);
    runUntil(t1 + 0.1);
    EXPECT_LT(artworkView()->presentationAlpha(), 1);
    // ... then put on the right, and in from there after 0.2 s.
    runUntil(t1 + 0.3);
    EXPECT_TRUE(near(artworkView()->presentationTransform(), slid(0.4 * width())));
    runUntil(t1 + 0.6);
    EXPECT_FALSE(animating);
    EXPECT_TRUE(near(artworkView()->presentationTransform(), CGAffineTransformIdentity));
    EXPECT_EQ(artworkView()->presentationAlpha(), 1);

    // A second update without a press does not slide.
    double t2 = play("Two", "Artist", artwork(60, 60, 0x665544, 0x332211)) + 0.1;
    runUntil(t2);
    EXPECT_EQ(prevAction, 2);
    EXPECT_FALSE(animating);
    for (const UIPropertyAnimation& a : artworkView()->animations())
        EXPECT_LT(a.begin, secondsToNanos(t2)) << "no animation started by the second update";
}

TEST_F(ArtworkTest, ARewindSlidesTheOtherWay) {
    prevAction = 1;
    double t1 = play("One", "Artist", artwork(60, 60, 0x112233, 0x445566)) + 0.1;
    runUntil(t1);
    EXPECT_TRUE(skippedTrack);
    runUntil(t1 + 0.3);
    EXPECT_TRUE(near(artworkView()->presentationTransform(), slid(-0.4 * width())));
}

TEST_F(ArtworkTest, TheMiniLayoutOnlyFadesAndScales) {
    minimized = YES;
    prevAction = -1;
    double t1 = play("One", "Artist", artwork(60, 60, 0x112233, 0x445566)) + 0.1;
    runUntil(t1 + 0.1);
    EXPECT_LT(artworkView()->presentationAlpha(), 1);
    EXPECT_EQ(artworkView()->presentationTransform().tx, 0);
    runUntil(t1 + 0.3);
    EXPECT_TRUE(near(artworkView()->presentationTransform(), slid(0)));
    runUntil(t1 + 0.6);
    EXPECT_TRUE(near(artworkView()->presentationTransform(), CGAffineTransformIdentity));
    EXPECT_FALSE(animating);
}

TEST_F(ArtworkTest, TheSameArtworkAfterASkipStillSlides) {
    play("One", "Artist", artwork(60, 60, 0x112233, 0x445566));
    run(2);
    UIImage* shown = artworkView()->image();
    prevAction = -1;
    double t1 = play("Two", "Artist", artwork(60, 60, 0x112233, 0x445566)) + 0.1;
    runUntil(t1);
    EXPECT_EQ(prevAction, 2);
    EXPECT_TRUE(animating);
    run(1);
    EXPECT_EQ(artworkView()->image(), shown) << "not restyled";
    EXPECT_FALSE(animating);
}
