#include "nowplaying_fixture.h"

#include "controls/InnerShadowButton.h"

#include <cmath>
#include <filesystem>
#include <unistd.h>

namespace nowplaying {

namespace {

Ref<UIColor> rgb(std::uint32_t hex) {
    return UIColor::colorWithRed(((hex >> 16) & 0xff) / 255.0, ((hex >> 8) & 0xff) / 255.0,
                                 (hex & 0xff) / 255.0, 1);
}

void countRefresh(id, SEL) {
    NowPlayingTest::headerRefreshes()++;
}

bool close(const CGColor& a, const CGColor& b) {
    return std::abs(a.r - b.r) < 1e-9 && std::abs(a.g - b.g) < 1e-9 && std::abs(a.b - b.b) < 1e-9 &&
           std::abs(a.a - b.a) < 1e-9;
}

} // namespace

Ref<NSData> artwork(int width, int height, std::uint32_t left, std::uint32_t right,
                    std::optional<std::uint32_t> dot) {
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(width, height), YES, 1.0);
    rgb(left)->setFill();
    UIRectFill(CGRectMake(0, 0, width / 2.0, height));
    rgb(right)->setFill();
    UIRectFill(CGRectMake(width / 2.0, 0, width / 2.0, height));
    if (dot) {
        rgb(*dot)->setFill();
        UIRectFill(CGRectMake(width / 4, height / 2, 1, 1));
    }
    Ref<UIImage> image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return UIImagePNGRepresentation(image);
}

Ref<UIImage> decoded(NSData* data) {
    return UIImage::imageWithData(data);
}

bool sameColor(const UIColor* a, const UIColor* b) {
    return a && b && close(a->rgba(), b->rgba());
}

bool sameColor(CGColorRef a, const UIColor* b) {
    return a && b && close(*a, b->rgba());
}

int& NowPlayingTest::headerRefreshes() {
    static int count = 0;
    return count;
}

void NowPlayingTest::SetUp() {
    char tmpl[] = "/tmp/vey-nowplaying-XXXXXX";
    root_ = mkdtemp(tmpl);
    NSSetDeviceRoot(root_);
    std::string error;
    ASSERT_TRUE(
        HBWritePreferences(kVeyPreferencesDomain, {{"Enabled", true}}, PlistFormat::XML, &error))
        << error;
    SBRegisterHostClasses();
    initialiseVey();
    ASSERT_TRUE(enabled);
    SBLockScreen* lockScreen = SBLaunch();
    ASSERT_NE(lockScreen, nullptr);
    ASSERT_EQ(coversheetView.get(), lockScreen->coverSheet.get());
    // Let whatever the launch started settle before the player views are replaced.
    run(5);
    buildPlayer();

    // The stock header: counts its refreshes.
    IMP unused = nullptr;
    MSHookMessageEx(MRUNowPlayingHeaderView::cls(), sel("findNeededStuff"),
                    reinterpret_cast<IMP>(&countRefresh), &unused);
    playingHeader = lockScreen->lockScreenControls()->headerView();
}

void NowPlayingTest::TearDown() {
    std::filesystem::remove_all(root_);
}

// The views the now-playing update and the styles fill, built here so these tests do not
// depend on the whole player.
void NowPlayingTest::buildPlayer() {
    UIView* cover = coversheetView;
    double w = cover->bounds().size.width;
    Ref<UIImageView> backgroundView = UIView::make<UIImageView>(cover->bounds());
    Ref<UIView> root = UIView::make(CGRectMake(0, 300, w, 420));
    Ref<UIImageView> art = UIView::make<UIImageView>(CGRectMake(70, 20, 250, 250));
    Ref<UILabel> title = UIView::make<UILabel>(CGRectMake(20, 290, w - 40, 24));
    Ref<UILabel> subtitle = UIView::make<UILabel>(CGRectMake(20, 316, w - 40, 20));
    Ref<UIView> panelView = UIView::make<InnerShadowButton>(CGRectMake(10, 0, w - 20, 400));
    cover->insertSubview(backgroundView, 0);
    cover->addSubview(root);
    for (UIView* part : {panelView.get(), static_cast<UIView*>(art.get()),
                         static_cast<UIView*>(title.get()), static_cast<UIView*>(subtitle.get())})
        root->addSubview(part);
    setAttached(cover, prop::veyBackgroundArtwork, backgroundView);
    setAttached(cover, prop::veyView, root);
    setAttached(cover, prop::artworkImageView, art);
    setAttached(cover, prop::veySongLabel, title);
    setAttached(cover, prop::veyArtistLabel, subtitle);
    setAttached(cover, prop::veyMiniBackgroundView, cast<InnerShadowButton>(panelView.get()));
}

double NowPlayingTest::play(std::optional<std::string> title, std::optional<std::string> artist,
                            Ref<NSData> artworkData) {
    MRTrack track;
    track.title = std::move(title);
    track.artist = std::move(artist);
    track.artworkData = std::move(artworkData);
    MRNowPlayingService::shared().play(std::move(track));
    // The service reports the change on the main queue, at once.
    MainQueue::shared().runPending();
    return now();
}

void NowPlayingTest::runUntil(double at) {
    MainQueue::shared().runUntil(secondsToNanos(at));
}

} // namespace nowplaying
