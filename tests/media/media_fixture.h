// The host's lock screen with the plug-in installed, a player made of the few views the
// now-playing update fills, and artwork made in memory.
#pragma once

#include "common/device.h"
#include "controls/InnerShadowButton.h"
#include "entry/properties.h"
#include "entry/state.h"
#include "graphics/image_samples.h"
#include "platform/springboard/springboard.h"

#include <optional>

namespace media {

inline Ref<UIColor> rgb(std::uint32_t hex) {
    return UIColor::colorWithRed(((hex >> 16) & 0xff) / 255.0, ((hex >> 8) & 0xff) / 255.0,
                                 (hex & 0xff) / 255.0, 1);
}

// PNG artwork: the left half `left`, the right half `right` (0xRRGGBB), and optionally one
// pixel of `dot` in the middle of the left half.
inline Ref<NSData> artwork(int w, int h, std::uint32_t left, std::uint32_t right,
                           std::optional<std::uint32_t> dot = std::nullopt) {
    return UIImagePNGRepresentation(samples::image(w, h, [&](int x, int y) {
        return 0xff000000u | (dot && x == w / 4 && y == h / 2 ? *dot : x < w / 2 ? left : right);
    }));
}

// A colour (UIColor or CGColor) with the components of `b`.
inline bool sameColor(const CGColor* a, const UIColor* b) {
    return a && b && *a == b->rgba();
}
inline bool sameColor(const UIColor* a, const UIColor* b) {
    return a && sameColor(&a->rgba(), b);
}

// Refreshes asked for outside the header's own layout passes, which search it every time.
inline int headerRefreshes = 0;
inline bool inHeaderLayout = false;
inline IMP headerLayout = nullptr;
inline void countRefresh(id, SEL) {
    if (!inHeaderLayout) ++headerRefreshes;
}
inline void layOutHeader(id self, SEL cmd) {
    inHeaderLayout = true;
    callIMP(headerLayout, self, cmd);
    inHeaderLayout = false;
}

class PlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        device.write({{"Enabled", true}});
        SBRegisterHostClasses();
        initialiseVey();
        SBLockScreen* lockScreen = SBLaunch();
        ASSERT_NE(lockScreen, nullptr);
        run(5); // what the launch started settles before the player views are put in
        buildPlayer(lockScreen->coverSheet);
        IMP unused = nullptr;
        MSHookMessageEx(MRUNowPlayingHeaderView::cls(), sel("findNeededStuff"),
                        reinterpret_cast<IMP>(&countRefresh), &unused);
        MSHookMessageEx(MRUNowPlayingHeaderView::cls(), sel("layoutSubviews"),
                        reinterpret_cast<IMP>(&layOutHeader), &headerLayout);
        playingHeader = lockScreen->lockScreenControls()->headerView();
    }

    // Plays a track through the host's now-playing service; returns the time the media
    // controller reported it.
    double play(std::optional<std::string> title, std::optional<std::string> artist,
                Ref<NSData> artworkData) {
        MRNowPlayingService::shared().play({std::move(title), std::move(artist), artworkData});
        MainQueue::shared().runPending();
        return now();
    }
    void run(double seconds) { MainQueue::shared().runFor(seconds); }
    void runUntil(double at) { MainQueue::shared().runUntil(secondsToNanos(at)); }
    double now() const { return MainQueue::shared().now(); }

    UIView* sheet() const { return coversheetView; }
    UIView* player() const { return attached(coversheetView, prop::veyView); }
    UILabel* song() const { return attached(coversheetView, prop::veySongLabel); }
    UILabel* artist() const { return attached(coversheetView, prop::veyArtistLabel); }
    UIImageView* artworkView() const { return attached(coversheetView, prop::artworkImageView); }
    UIImageView* background() const { return attached(coversheetView, prop::veyBackgroundArtwork); }
    UIView* panel() const { return attached(coversheetView, prop::veyMiniBackgroundView); }

  private:
    // The views the update and the styles fill, without the rest of the player.
    static void buildPlayer(UIView* cover) {
        double w = cover->bounds().size.width;
        auto background = UIView::make<UIImageView>(cover->bounds());
        cover->insertSubview(background, 0);
        setAttached(cover, prop::veyBackgroundArtwork, background);
        auto root = UIView::make(CGRectMake(0, 300, w, 420));
        cover->addSubview(root);
        setAttached(cover, prop::veyView, root);
        auto put = [&](auto property, auto view) {
            root->addSubview(view);
            setAttached(cover, property, view);
        };
        put(prop::veyMiniBackgroundView,
            UIView::make<InnerShadowButton>(CGRectMake(10, 0, w - 20, 400)));
        put(prop::artworkImageView, UIView::make<UIImageView>(CGRectMake(70, 20, 250, 250)));
        put(prop::veySongLabel, UIView::make<UILabel>(CGRectMake(20, 290, w - 40, 24)));
        put(prop::veyArtistLabel, UIView::make<UILabel>(CGRectMake(20, 316, w - 40, 20)));
    }
    TestDevice device;
};

} // namespace media
