// State the renderer and the dumps read from labels and stack views, and the values the player
// reads from the host: colours, fonts, corner curves and the screen.
#include "platform/graphics/graphics.h"
#include "platform/uikit/uikit.h"

#include <gtest/gtest.h>

TEST(Components, LabelsTakeNoTouchesAndANewTextRestartsTheMarquee) {
    auto label = UIView::make<UILabel>();
    EXPECT_FALSE(label->isUserInteractionEnabled());
    MainQueue::shared().runFor(2);
    label->setMarqueeEnabled(true);
    label->setMarqueeRunning(true);
    EXPECT_EQ(label->marqueeStart(), 2 * NSEC_PER_SEC);
    MainQueue::shared().runFor(1);
    send(label.get(), "setText:", NSString::make("Song"));
    EXPECT_EQ(label->marqueeStart(), 3 * NSEC_PER_SEC);
    MainQueue::shared().runFor(1);
    label->setText("Song"); // the same text keeps its phase
    EXPECT_EQ(label->marqueeStart(), 3 * NSEC_PER_SEC);
}

TEST(Components, StackViewArrangesVisibleSubviews) {
    auto stack = UIView::make<UIStackView>(CGRectMake(0, 0, 100, 300));
    stack->setAxis(UILayoutConstraintAxisVertical);
    stack->setSpacing(10);
    std::vector<Ref<UIView>> views;
    for (double height : {50, 40, 30}) {
        views.push_back(UIView::make(CGRectMake(0, 0, 10, height)));
        stack->addArrangedSubview(views.back());
    }
    views[1]->setHidden(true);
    UIKitEndTurn();
    EXPECT_EQ(views[0]->frame(), CGRectMake(0, 0, 100, 50));
    EXPECT_EQ(views[2]->frame(), CGRectMake(0, 60, 100, 30));
    views[2]->removeFromSuperview();
    EXPECT_EQ(stack->arrangedSubviews().size(), 2u);
}

TEST(Values, ColoursFontsAndCornerCurves) {
    double r, g, b, a;
    UIColor::colorWithWhite(0.5, 0.6)->getRed(&r, &g, &b, &a);
    EXPECT_EQ(std::vector<double>({r, g, b, a}), std::vector<double>({0.5, 0.5, 0.5, 0.6}));
    // Nonsense text styles read as the body style, nonsense sizes as 0.
    EXPECT_EQ(UIFont::preferredFontForTextStyle("no such style")->pointSize(), 17);
    EXPECT_EQ(UIFont::systemFontOfSize(-4)->pointSize(), 0);
    Ref<UIView> view = UIView::make();
    CALayer* layer = view->layer();
    layer->setCornerCurve(kCACornerCurveContinuous);
    layer->setCornerCurve("bogus"); // ignored
    EXPECT_EQ(layer->cornerCurve(), "continuous");
}

TEST(Values, TheScreenRefusesNonsenseAndImageContextsAtScaleZeroTakeItsScale) {
    UIScreen::mainScreen()->setSize(CGSizeMake(430, 932));
    UIScreen::mainScreen()->setSize(CGSizeMake(-1, 5));
    UIScreen::mainScreen()->setScale(2);
    UIScreen::mainScreen()->setScale(0);
    EXPECT_EQ(UIScreen::mainScreen()->bounds(), CGRectMake(0, 0, 430, 932));
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(10, 5), NO, 0);
    Ref<UIImage> image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->scale(), 2);
}
