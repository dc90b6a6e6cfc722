// The same-image test and its reductions, the lock screen's artwork view, and the slide after a
// skip or rewind pressed on the player.
#include "media_fixture.h"

using namespace media;

namespace {

Ref<UIImage> image(int w, int h, std::uint32_t left, std::uint32_t right,
                   std::optional<std::uint32_t> dot = std::nullopt) {
    return UIImage::imageWithData(artwork(w, h, left, right, dot));
}

CGAffineTransform slid(double x) {
    return CGAffineTransformScale(CGAffineTransformMakeTranslation(x, 0), 0.85, 0.85);
}

bool near(CGAffineTransform a, CGAffineTransform b) {
    double d[] = {a.a - b.a, a.b - b.b, a.c - b.c, a.d - b.d, a.tx - b.tx, a.ty - b.ty};
    return std::all_of(std::begin(d), std::end(d), [](double v) { return std::abs(v) < 1e-6; });
}

struct ArtworkTest : PlayerTest {
    bool same(UIImage* candidate, UIImage* shown) {
        auto view = UIView::make<UIImageView>(CGRectMake(0, 0, 10, 10));
        view->setImage(shown);
        return send<bool>(sheet(), "isSameImage:asImageInView:", static_cast<id>(candidate),
                          static_cast<id>(view.get()));
    }
    MRUArtworkView* lockArtwork() {
        return SBCurrentLockScreen()->lockScreenControls()->artworkView();
    }
};

} // namespace

TEST_F(ArtworkTest, SameImageComparesSizesThenTenByTenReductions) {
    Ref<UIImage> base = image(100, 100, 0x336699, 0xcc9933);
    // Equal pixels in another object, and a one-pixel detail a 10 x 10 reduction does not see.
    EXPECT_TRUE(same(image(100, 100, 0x336699, 0xcc9933), base));
    EXPECT_TRUE(same(image(100, 100, 0x336699, 0xcc9933, 0x3366a0), base));
    EXPECT_FALSE(same(image(100, 100, 0x336699, 0x339933), base));
    EXPECT_FALSE(same(image(100, 101, 0x336699, 0xcc9933), base));
    EXPECT_FALSE(same(nullptr, base));
    EXPECT_FALSE(same(base, nullptr));
    EXPECT_FALSE(same(UIImage::systemImageNamed("play.fill"), base)) << "no bitmap";

    auto* scaled = cast<UIImage>(send<id>(
        sheet(), "scaleImage:toSize:", static_cast<id>(image(64, 32, 0xff0000, 0x00ff00).get()),
        CGSizeMake(10, 10)));
    ASSERT_TRUE(scaled && scaled->CGImage());
    EXPECT_EQ(scaled->CGImage()->width, 10);
    EXPECT_EQ(scaled->scale(), 1);
    EXPECT_EQ(scaled->CGImage()->row(5)[1], 0xffff0000u);
    EXPECT_EQ(scaled->CGImage()->row(5)[8], 0xff00ff00u);
}

TEST_F(ArtworkTest, TheArtworkViewHookActsOnlyOnTheLockScreen) {
    MRUArtworkView* other = SBCurrentLockScreen()->controlCenterControls->artworkView();
    Ref<UIImage> given = image(30, 30, 0x112233, 0x445566);
    // Elsewhere the host's implementation runs with the image given, at once.
    send(other, "setArtworkImage:", given);
    EXPECT_EQ(other->artworkImage(), given.get());

    // On the lock screen the host gets the artwork accepted before, once the info arrives.
    play("Lock", std::nullopt, artwork(50, 50, 0xa0a000, 0x00a0a0));
    run(2);
    Ref<UIImage> accepted = highresImage;
    ASSERT_TRUE(accepted);
    send(lockArtwork(), "setArtworkImage:", given);
    EXPECT_NE(lockArtwork()->artworkImage(), given.get());
    song()->setText("");
    MainQueue::shared().runPending();
    EXPECT_EQ(lockArtwork()->artworkImage(), accepted.get());
    EXPECT_EQ(song()->textString(), "Lock ");

    // Its own load is accepted 0.3 s later, unless it equals the artwork shown.
    highresImage = nullptr;
    double t0 = now();
    send(lockArtwork(), "setArtworkImage:", static_cast<id>(nullptr));
    runUntil(t0 + 0.3);
    EXPECT_FALSE(highresImage) << "equal to the artwork shown";
    artworkView()->setImage(nullptr);
    t0 = now();
    send(lockArtwork(), "setArtworkImage:", static_cast<id>(nullptr));
    runUntil(t0 + 0.29);
    EXPECT_FALSE(highresImage);
    runUntil(t0 + 0.3);
    EXPECT_TRUE(highresImage);
}

TEST_F(ArtworkTest, EachSkipOrRewindSlidesOnceEvenForTheSameArtwork) {
    double w = sheet()->bounds().size.width;
    // Out to one side, put on the other and back in; the mini layout only fades and scales (and
    // leaves skippedTrack as it was).
    struct Case {
        int press;
        bool mini, skipped;
        double putAt; // of the width, after the first stage
    } cases[] = {{action::kRewind, false, true, -0.4},
                 {action::kSkip, false, false, 0.4},
                 {action::kSkip, true, false, 0}};
    for (const Case& c : cases) {
        minimized = c.mini;
        prevAction = c.press;
        double t1 = play("One", "Artist", artwork(60, 60, 0x112233, 0x445566)) + 0.1;
        runUntil(t1);
        EXPECT_EQ(prevAction, action::kTrackChangeAnimated);
        EXPECT_TRUE(animating);
        EXPECT_EQ(skippedTrack, c.skipped);
        EXPECT_EQ(artworkView()->alpha(), 0);
        runUntil(t1 + 0.3);
        EXPECT_TRUE(near(artworkView()->presentationTransform(), slid(c.putAt * w))) << c.press;
        runUntil(t1 + 0.6);
        EXPECT_FALSE(animating);
        EXPECT_TRUE(near(artworkView()->presentationTransform(), CGAffineTransformIdentity));
        EXPECT_EQ(artworkView()->presentationAlpha(), 1);
    }
}
