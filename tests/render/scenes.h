// Scenes for the renderer's tests and benchmark: a stock lock screen, and the player in its
// maxi layout as the plug-in builds it on a 390 x 844 point cover sheet (artwork 250 points,
// offset 25), in each of its styles.
#pragma once

#include "platform/uikit/uikit.h"

namespace rendertest {

// A painted stand-in for album art: two colour fields, a sun and a horizon.
Ref<UIImage> makeArtwork(int pixels, double hue);

// The cover sheet with clock and date, three notification cells and the stock player platter.
Ref<UIView> makeStockScene();

enum class PlayerStyle { ColorFlow, Dark, Light };

struct PlayerScene {
    Ref<UIView> coverSheet;
    UIView* player = nullptr;
    UIImageView* artwork = nullptr;
    UILabel* song = nullptr;
};
PlayerScene makePlayerScene(PlayerStyle style);

} // namespace rendertest
