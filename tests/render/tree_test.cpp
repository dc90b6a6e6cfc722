// The tree walk: presentation values, hidden views, alpha, transforms, clipping, backgrounds
// and borders.
#include "support.h"

#include "platform/foundation/foundation.h"

#include <cmath>

using namespace rendertest;

TEST(RenderTree, DrawsPresentationValuesMidAnimation) {
    Ref<UIView> root = box(CGRectMake(0, 0, 100, 100), kWhite);
    Ref<UIView> moving = box(CGRectMake(10, 40, 20, 20), kRed);
    Ref<UIView> fading = box(CGRectMake(0, 80, 100, 20), kBlue);
    root->addSubview(moving);
    root->addSubview(fading);
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

TEST(RenderTree, SkipsHiddenViewsAndMultipliesAlphaDownTheTree) {
    Ref<UIView> root = box(CGRectMake(0, 0, 100, 100), kWhite);
    Ref<UIView> parent = box(CGRectMake(0, 0, 50, 100), {0, 0, 0, 0});
    parent->setAlpha(0.5);
    Ref<UIView> child = box(CGRectMake(0, 0, 50, 50), kBlack);
    child->setAlpha(0.5);
    Ref<UIView> hidden = box(CGRectMake(0, 50, 50, 50), kRed);
    hidden->setHidden(true);
    Ref<UIView> underHidden = box(CGRectMake(50, 0, 50, 100), kWhite);
    underHidden->setHidden(true);
    underHidden->addSubview(box(CGRectMake(0, 0, 50, 100), kBlue));
    parent->addSubview(child);
    parent->addSubview(hidden);
    root->addSubview(parent);
    root->addSubview(underHidden);
    // Black at 0.25.
    EXPECT_TRUE(
        shows(shot(root), {{25, 25, {191, 191, 191, 255}}, {25, 75, kWhite}, {75, 50, kWhite}}));
    // A hidden root draws nothing at all.
    root->setHidden(true);
    EXPECT_TRUE(shows(shot(root), {{25, 25, {0, 0, 0, 0}}}));
}

// A view with subviews and alpha below 1 fades as one picture: where its subviews overlap,
// only the top one shows, at the view's alpha.
TEST(RenderTree, FadingViewsCompositeTheirSubviewsAsOneGroup) {
    Ref<UIView> root = box(CGRectMake(0, 0, 100, 100), kWhite);
    Ref<UIView> group = UIView::make(CGRectMake(0, 0, 100, 100));
    group->setAlpha(0.5);
    group->addSubview(box(CGRectMake(0, 0, 60, 100), kRed));
    group->addSubview(box(CGRectMake(40, 0, 60, 100), kBlue));
    root->addSubview(group);
    EXPECT_TRUE(shows(shot(root), {{20, 50, {255, 128, 128, 255}},
                                   {50, 50, {128, 128, 255, 255}}, // no red beneath
                                   {80, 50, {128, 128, 255, 255}}}));
}

TEST(RenderTree, TransformsTurnAndScaleAboutTheCentre) {
    Ref<UIView> root = box(CGRectMake(0, 0, 100, 100), kWhite);
    Ref<UIView> bar = box(CGRectMake(30, 40, 40, 20), kRed);
    bar->setTransform(CGAffineTransformMake(0, 1, -1, 0, 0, 0)); // a quarter turn
    root->addSubview(bar);
    EXPECT_TRUE(shows(shot(root), {{50, 33, kRed}, {33, 50, kWhite}}));
    // A child follows its parent's transform, scaled about the parent's centre: the dot spans
    // x 10 ... 30 and the bar y 45 ... 55.
    bar->setTransform(CGAffineTransformMakeScale(2, 0.5));
    bar->addSubview(box(CGRectMake(0, 0, 10, 20), kBlue));
    EXPECT_TRUE(shows(shot(root), {{12, 50, kBlue}, {50, 52, kRed}, {50, 57, kWhite}}));
    // Collapsed or broken transforms show nothing and break nothing after them.
    bar->setTransform(CGAffineTransformMakeScale(0, 1));
    root->addSubview(box(CGRectMake(0, 90, 100, 10), kBlue));
    EXPECT_TRUE(shows(shot(root), {{50, 50, kWhite}, {50, 95, kBlue}}));
    bar->setTransform(CGAffineTransformMake(NAN, 0, 0, 1, 0, 0));
    EXPECT_TRUE(shows(shot(root), {{50, 95, kBlue}}));
}

TEST(RenderTree, BoundsOriginScrollsTheContent) {
    Ref<UIView> root = box(CGRectMake(0, 0, 100, 100), kWhite);
    Ref<UIView> scroller = UIView::make(CGRectMake(0, 0, 100, 100));
    scroller->setBounds(CGRectMake(0, 30, 100, 100));
    scroller->addSubview(box(CGRectMake(0, 40, 100, 10), kRed));
    root->addSubview(scroller);
    EXPECT_TRUE(shows(shot(root), {{50, 15, kRed}, {50, 45, kWhite}}));
}

TEST(RenderTree, MasksToBoundsClipsToTheRoundedLayer) {
    Ref<UIView> root = box(CGRectMake(0, 0, 100, 100), kWhite);
    Ref<UIView> card = UIView::make(CGRectMake(20, 20, 60, 60));
    card->layer()->setCornerRadius(20);
    card->addSubview(box(CGRectMake(-20, -20, 100, 100), kRed));
    root->addSubview(card);
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

TEST(RenderTree, BackgroundsFollowTheCornersWithoutClippingChildren) {
    Ref<UIView> root = box(CGRectMake(0, 0, 100, 100), kWhite);
    Ref<UIView> card = box(CGRectMake(20, 20, 60, 60), kRed);
    card->layer()->setCornerRadius(30);
    card->addSubview(box(CGRectMake(-15, 25, 10, 10), kBlue));
    root->addSubview(card);
    EXPECT_TRUE(shows(shot(root), {{22, 22, kWhite}, {50, 50, kRed}, {10, 50, kBlue}}));
}

TEST(RenderTree, BordersLieInsideTheBoundsAboveTheSubviews) {
    Ref<UIView> root = box(CGRectMake(0, 0, 100, 100), kWhite);
    Ref<UIView> card = UIView::make(CGRectMake(20, 20, 60, 60));
    card->layer()->setBorderWidth(4);
    card->layer()->setBorderColor(UIColor::colorWithRed(1, 0, 0, 1)->CGColor());
    card->addSubview(box(CGRectMake(0, 0, 60, 60), kBlue));
    root->addSubview(card);
    // Unset, the border is opaque black.
    Ref<UIView> plain = UIView::make(CGRectMake(0, 0, 10, 10));
    plain->layer()->setBorderWidth(2);
    root->addSubview(plain);
    EXPECT_TRUE(
        shows(shot(root), {{18, 50, kWhite}, {21, 50, kRed}, {25, 50, kBlue}, {0, 5, kBlack}}));
}
