// Whole scenes against the images kept in tests/render/golden (VEY_RECORD_GOLDEN=1 re-records).
#include "scenes.h"
#include "support.h"

#include "platform/foundation/foundation.h"

using namespace rendertest;

TEST(RenderGolden, StockLockScreen) {
    Ref<UIView> scene = makeStockScene();
    EXPECT_TRUE(matchesGolden(shot(scene), "stock"));
}

TEST(RenderGolden, PlayerInEachStyle) {
    for (auto [style, name] : {std::pair{PlayerStyle::ColorFlow, "player-colorflow"},
                               {PlayerStyle::Dark, "player-dark"},
                               {PlayerStyle::Light, "player-light"}}) {
        PlayerScene scene = makePlayerScene(style);
        EXPECT_TRUE(matchesGolden(shot(scene.coverSheet), name));
    }
}

// The player sliding up and fading in while the artwork cross-dissolves to a new one and the
// song title scrolls.
TEST(RenderGolden, MiddleOfAnAnimation) {
    PlayerScene scene = makePlayerScene(PlayerStyle::ColorFlow);
    UIView* player = scene.player;
    player->setAlpha(0);
    CGPoint end = player->center();
    player->setCenter(CGPointMake(end.x, end.y + 120));
    UIView::animateWithDuration(0.6, 0, UIViewAnimationOptionCurveEaseOut, [&] {
        player->setAlpha(1);
        player->setCenter(end);
    });
    UIImageView* art = scene.artwork;
    UIView::transitionWithView(art, 0.5, UIViewAnimationOptionTransitionCrossDissolve,
                               [&] { art->setImage(makeArtwork(600, 0.95)); });
    scene.song->setText("A Title Much Too Long For One Line");
    scene.song->setMarqueeEnabled(true);
    scene.song->setMarqueeRunning(true);
    MainQueue::shared().runFor(0.25);
    EXPECT_TRUE(matchesGolden(shot(scene.coverSheet), "player-animating"));
}
