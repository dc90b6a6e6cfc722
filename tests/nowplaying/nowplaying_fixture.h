// The host's lock screen with the plug-in installed, a player made of the few views the
// now-playing update fills, and artwork made in memory.
#pragma once

#include "entry/install.h"
#include "entry/properties.h"
#include "entry/state.h"
#include "platform/graphics/graphics.h"
#include "platform/preferences/preferences.h"
#include "platform/springboard/springboard.h"
#include "platform/uikit/uikit.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace nowplaying {

// Encoded PNG artwork: the left half `left`, the right half `right` (0xRRGGBB), with an
// optional single pixel of `dot` in the middle of the left half.
Ref<NSData> artwork(int width, int height, std::uint32_t left, std::uint32_t right,
                    std::optional<std::uint32_t> dot = std::nullopt);
Ref<UIImage> decoded(NSData* data);

bool sameColor(const UIColor* a, const UIColor* b);
bool sameColor(CGColorRef a, const UIColor* b);

class NowPlayingTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Plays a track through the host's now-playing service and runs the clock until the
    // media controller has reported it (the returned time is when it did).
    double play(std::optional<std::string> title, std::optional<std::string> artist,
                Ref<NSData> artworkData);
    void run(double seconds) { MainQueue::shared().runFor(seconds); }
    double now() const { return MainQueue::shared().now(); }
    // Runs until `at` seconds on the virtual clock.
    void runUntil(double at);

    UIView* sheet() const { return coversheetView; }
    UIView* player() const { return attached(coversheetView, prop::veyView); }
    UILabel* song() const { return attached(coversheetView, prop::veySongLabel); }
    UILabel* artist() const { return attached(coversheetView, prop::veyArtistLabel); }
    UIImageView* artworkView() const { return attached(coversheetView, prop::artworkImageView); }
    UIImageView* background() const { return attached(coversheetView, prop::veyBackgroundArtwork); }
    UIView* panel() const { return attached(coversheetView, prop::veyMiniBackgroundView); }
    NSArray* colors() const { return bestColors; }

  public:
    // How often the stock header was asked to refresh.
    static int& headerRefreshes();

  private:
    void buildPlayer();
    std::string root_;
};

} // namespace nowplaying
