// State the renderer and the dumps read from labels, layers, effect views and stack views.
#include "platform/uikit/uikit.h"

#include <gtest/gtest.h>

TEST(Components, LabelTextFontAndMarquee) {
    auto label = UIView::make<UILabel>();
    EXPECT_EQ(label->text(), nullptr);
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
    label->setFont(UIFont::systemFontOfSize(30.1, UIFontWeightBold));
    EXPECT_EQ(label->font()->weight(), UIFontWeightBold);
    EXPECT_EQ(send<id>(label.get(), "text")->description(), "Song");
}

TEST(Components, LayerEffectAndImageViews) {
    auto view = UIView::make<UIImageView>(CGRectMake(0, 0, 250, 250));
    CALayer* layer = view->layer();
    EXPECT_EQ(layer->delegate(), view.get());
    layer->setCornerRadius(20);
    layer->setCornerCurve(kCACornerCurveContinuous);
    layer->setCornerCurve("bogus");
    layer->setMasksToBounds(true);
    layer->setBorderWidth(2.5);
    EXPECT_EQ(layer->borderColor(), nullptr);
    layer->setBorderColor(UIColor::whiteColor()->CGColor());
    EXPECT_EQ(layer->cornerCurve(), "continuous");
    EXPECT_EQ(layer->borderColor()->r, 1);
    EXPECT_TRUE(view->clipsToBounds());
    view->setContentMode(UIViewContentModeScaleAspectFill);
    EXPECT_EQ(view->contentMode(), 2);

    auto effect = UIVisualEffectView::makeWithEffect(UIBlurEffect::effectWithStyle(2));
    EXPECT_EQ(effect->blurStyle(), UIBlurEffectStyleDark);
    effect->setFrame(CGRectMake(0, 0, 370, 174));
    EXPECT_EQ(effect->contentView()->frame(), CGRectMake(0, 0, 370, 174));
    auto none = UIVisualEffectView::makeWithEffect(nullptr);
    EXPECT_EQ(none->blurStyle(), -1);
    id viaRuntime = send<id>(static_cast<id>(UIBlurEffect::cls()), "effectWithStyle:", 1L);
    EXPECT_EQ(cast<UIBlurEffect>(viaRuntime)->style(), UIBlurEffectStyleLight);
}

TEST(Components, StackViewArrangesVisibleSubviews) {
    auto stack = UIView::make<UIStackView>(CGRectMake(0, 0, 100, 300));
    stack->setAxis(UILayoutConstraintAxisVertical);
    stack->setSpacing(10);
    auto a = UIView::make(CGRectMake(0, 0, 10, 50));
    auto b = UIView::make(CGRectMake(0, 0, 10, 40));
    auto c = UIView::make(CGRectMake(0, 0, 10, 30));
    stack->addArrangedSubview(a);
    stack->addArrangedSubview(b);
    stack->addArrangedSubview(c);
    b->setHidden(true);
    UIKitEndTurn();
    EXPECT_EQ(a->frame(), CGRectMake(0, 0, 100, 50));
    EXPECT_EQ(c->frame(), CGRectMake(0, 60, 100, 30));
    c->removeFromSuperview();
    EXPECT_EQ(stack->arrangedSubviews().size(), 2u);
}
