// The tree walk: presentation values, hidden views, alpha, transforms, clipping, backgrounds
// and borders.
#include "support.h"

#include "platform/foundation/foundation.h"

#include <cmath>

using namespace rendertest;

TEST(RenderTree, DrawsPresentationValuesMidAnimation) {
    Ref<UIView> root = box(CGRectMake(0, 0, 100, 100), kWhite);
    UIView* moving = addBox(root, CGRectMake(10, 40, 20, 20), kRed);
    UIView* fading = addBox(root, CGRectMake(0, 80, 100, 20), kBlue);
    UIView::animateWithDuration(1, 0, UIViewAnimationOptionCurveLinear, [&] {
        moving->setCenter(CGPointMake(80, 50));
        moving->setBackgroundColor(UIColor::colorWithRed(0, 1, 0, 1));
        fading->setAlpha(0);
    });
    MainQueue::shared().runFor(0.5);
    // Half way: centre x 50, colour half red half green, blue at half strength over white.
    EXPECT_TRUE(shows(shot(root), {{20, 50, kWhite},
                                   {50, 50, {128, 128, 0, 255}, 3},
                                   {80, 50, kWhite},
                                   {50, 90, {128, 128, 255, 255}, 3}}));
    MainQueue::shared().runFor(1);
    EXPECT_TRUE(shows(shot(root), {{80, 50, {0, 255, 0, 255}}, {50, 90, kWhite}}));
}

// Trees on a white 100 x 100 root, drawn once.
TEST(RenderTree, DrawsAlphaHiddenViewsBoundsBackgroundsAndBorders) {
    struct Case {
        const char* name;
        std::function<void(UIView* root)> build;
        std::vector<Probe> probes;
    } cases[] = {
        {"alpha multiplies down the tree (black at 0.25); hidden views and theirs are skipped",
         [](UIView* root) {
             UIView* parent = addBox(root, CGRectMake(0, 0, 50, 100), {0, 0, 0, 0});
             parent->setAlpha(0.5);
             addBox(parent, CGRectMake(0, 0, 50, 50), kBlack)->setAlpha(0.5);
             addBox(parent, CGRectMake(0, 50, 50, 50), kRed)->setHidden(true);
             UIView* hidden = addBox(root, CGRectMake(50, 0, 50, 100), kWhite);
             hidden->setHidden(true);
             addBox(hidden, CGRectMake(0, 0, 50, 100), kBlue);
         },
         {{25, 25, {191, 191, 191, 255}}, {25, 75, kWhite}, {75, 50, kWhite}}},
        {"a hidden root draws nothing at all",
         [](UIView* root) { root->setHidden(true); },
         {{25, 25, {0, 0, 0, 0}}}},
        // Where its subviews overlap, only the top one shows, at the view's alpha.
        {"a fading view composites its subviews as one picture",
         [](UIView* root) {
             UIView* group = addBox(root, CGRectMake(0, 0, 100, 100), {0, 0, 0, 0});
             group->setAlpha(0.5);
             addBox(group, CGRectMake(0, 0, 60, 100), kRed);
             addBox(group, CGRectMake(40, 0, 60, 100), kBlue);
         },
         {{20, 50, {255, 128, 128, 255}},
          {50, 50, {128, 128, 255, 255}},
          {80, 50, {128, 128, 255, 255}}}},
        {"the bounds origin scrolls the content",
         [](UIView* root) {
             UIView* scroller = addBox(root, CGRectMake(0, 0, 100, 100), {0, 0, 0, 0});
             scroller->setBounds(CGRectMake(0, 30, 100, 100));
             addBox(scroller, CGRectMake(0, 40, 100, 10), kRed);
         },
         {{50, 15, kRed}, {50, 45, kWhite}}},
        {"backgrounds follow the corners without clipping subviews",
         [](UIView* root) {
             UIView* card = addBox(root, CGRectMake(20, 20, 60, 60), kRed);
             card->layer()->setCornerRadius(30);
             addBox(card, CGRectMake(-15, 25, 10, 10), kBlue);
         },
         {{22, 22, kWhite}, {50, 50, kRed}, {10, 50, kBlue}}},
        {"borders lie inside the bounds above the subviews; unset, they are opaque black",
         [](UIView* root) {
             UIView* card = addBox(root, CGRectMake(20, 20, 60, 60), {0, 0, 0, 0});
             card->layer()->setBorderWidth(4);
             card->layer()->setBorderColor(UIColor::colorWithRed(1, 0, 0, 1)->CGColor());
             addBox(card, CGRectMake(0, 0, 60, 60), kBlue);
             addBox(root, CGRectMake(0, 0, 10, 10), {0, 0, 0, 0})->layer()->setBorderWidth(2);
         },
         {{18, 50, kWhite}, {21, 50, kRed}, {25, 50, kBlue}, {0, 5, kBlack}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<UIView> root = box(CGRectMake(0, 0, 100, 100), kWhite);
        c.build(root);
        EXPECT_TRUE(shows(shot(root), c.probes));
    }
}

TEST(RenderTree, TransformsTurnAndScaleAboutTheCentre) {
    Ref<UIView> root = box(CGRectMake(0, 0, 100, 100), kWhite);
    UIView* bar = addBox(root, CGRectMake(30, 40, 40, 20), kRed);
    bar->setTransform(CGAffineTransformMake(0, 1, -1, 0, 0, 0)); // a quarter turn
    EXPECT_TRUE(shows(shot(root), {{50, 33, kRed}, {33, 50, kWhite}}));
    // A child follows its parent's transform, scaled about the parent's centre: the dot spans
    // x 10 ... 30 and the bar y 45 ... 55.
    bar->setTransform(CGAffineTransformMakeScale(2, 0.5));
    addBox(bar, CGRectMake(0, 0, 10, 20), kBlue);
    EXPECT_TRUE(shows(shot(root), {{12, 50, kBlue}, {50, 52, kRed}, {50, 57, kWhite}}));
    // Collapsed or broken transforms show nothing and break nothing after them.
    bar->setTransform(CGAffineTransformMakeScale(0, 1));
    addBox(root, CGRectMake(0, 90, 100, 10), kBlue);
    EXPECT_TRUE(shows(shot(root), {{50, 50, kWhite}, {50, 95, kBlue}}));
    bar->setTransform(CGAffineTransformMake(NAN, 0, 0, 1, 0, 0));
    EXPECT_TRUE(shows(shot(root), {{50, 95, kBlue}}));
}

TEST(RenderTree, MasksToBoundsClipsToTheRoundedLayer) {
    Ref<UIView> root = box(CGRectMake(0, 0, 100, 100), kWhite);
    UIView* card = addBox(root, CGRectMake(20, 20, 60, 60), {0, 0, 0, 0});
    card->layer()->setCornerRadius(20);
    addBox(card, CGRectMake(-20, -20, 100, 100), kRed);
    // Without masking the child spills over the card.
    EXPECT_TRUE(shows(shot(root), {{10, 10, kRed}}));
    card->layer()->setMasksToBounds(true);
    CGImageRef image = shot(root);
    // Outside, a cut corner, a straight edge and the inside.
    EXPECT_TRUE(shows(image, {{10, 10, kWhite}, {22, 22, kWhite}, {50, 21, kRed}, {50, 50, kRed}}));
    // The continuous curve leaves the edge earlier than the circular arc of the same radius.
    RGBA circular = pixel(image, 41, 20);
    card->layer()->setCornerCurve(kCACornerCurveContinuous);
    EXPECT_TRUE(near(circular, kRed, 40));
    EXPECT_GT(pixel(shot(root), 41, 20).g, circular.g + 40);
}
