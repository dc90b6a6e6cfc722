// State the renderer and the dumps read from labels, layers, effect views and stack views.
#include "platform/uikit/uikit.h"

#include <gtest/gtest.h>

TEST(Components, LabelDefaultsAndMarqueePhase) {
    auto label = UIView::make<UILabel>();
    EXPECT_EQ(label->textString(), "");
    EXPECT_EQ(label->font()->pointSize(), 17);
    EXPECT_TRUE(label->textColor()->isEqual(UIColor::blackColor()));
    EXPECT_FALSE(label->isUserInteractionEnabled());

    MainQueue::shared().runFor(2);
    label->setMarqueeEnabled(true);
    label->setMarqueeRunning(true);
    EXPECT_EQ(label->marqueeStart(), 2 * NSEC_PER_SEC);
    MainQueue::shared().runFor(1);
    send(label.get(), "setText:", NSString::make("Song"));
    EXPECT_EQ(label->marqueeStart(), 3 * NSEC_PER_SEC); // a new text scrolls from the start
    MainQueue::shared().runFor(1);
    label->setText("Song"); // the same text keeps its phase
    EXPECT_EQ(label->marqueeStart(), 3 * NSEC_PER_SEC);
    EXPECT_EQ(send<id>(label.get(), "text")->description(), "Song");
}

TEST(Components, LayerAndEffectViews) {
    auto view = UIView::make<UIImageView>(CGRectMake(0, 0, 250, 250));
    CALayer* layer = view->layer();
    EXPECT_EQ(layer->delegate(), view.get());
    layer->setCornerCurve(kCACornerCurveContinuous);
    layer->setCornerCurve("bogus"); // ignored
    EXPECT_EQ(layer->cornerCurve(), "continuous");
    EXPECT_EQ(layer->borderColor(), nullptr);
    layer->setMasksToBounds(true);
    EXPECT_TRUE(view->clipsToBounds());

    auto effect = UIVisualEffectView::makeWithEffect(UIBlurEffect::effectWithStyle(2));
    EXPECT_EQ(effect->blurStyle(), UIBlurEffectStyleDark);
    effect->setFrame(CGRectMake(0, 0, 370, 174));
    EXPECT_EQ(effect->contentView()->frame(), CGRectMake(0, 0, 370, 174));
    EXPECT_EQ(UIVisualEffectView::makeWithEffect(nullptr)->blurStyle(), -1);
    id viaRuntime = send<id>(static_cast<id>(UIBlurEffect::cls()), "effectWithStyle:", 1L);
    EXPECT_EQ(cast<UIBlurEffect>(viaRuntime)->style(), UIBlurEffectStyleLight);
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
