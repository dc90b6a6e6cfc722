// Layout passes and Auto Layout: when passes run, what layoutSubviews sees, and the frames the
// solver gives the player's kinds of constraint.
#include "platform/uikit/uikit.h"

#include <gtest/gtest.h>

namespace {

void activate(Ref<NSLayoutConstraint> c) {
    c->setActive(true);
}

Ref<UIView> constrained(UIView* parent, double width = -1, double height = -1) {
    auto v = UIView::make();
    v->setTranslatesAutoresizingMaskIntoConstraints(false);
    parent->addSubview(v);
    if (width >= 0) activate(v->widthAnchor()->constraintEqualToConstant(width));
    if (height >= 0) activate(v->heightAnchor()->constraintEqualToConstant(height));
    return v;
}

// Tags of the views sent layoutSubviews, seen through a hook as the plug-in's hooks see them.
// A view tagged 9 marks itself again every time.
std::vector<NSInteger> laidOut;
IMP originalLayout = nullptr;
void hookLayout() {
    MSHookMessageEx(UIView::cls(), sel("layoutSubviews"), IMP(+[](id self, SEL cmd) {
                        callIMP(originalLayout, self, cmd);
                        auto* v = cast<UIView>(self);
                        laidOut.push_back(v->tag());
                        if (v->tag() == 9) v->setNeedsLayout();
                    }),
                    &originalLayout);
}
using Tags = std::vector<NSInteger>;

void turn() {
    MainQueue::shared().async([] {});
    MainQueue::shared().runPending();
}

} // namespace

TEST(LayoutPasses, RunAfterTheTurnParentsFirstAndBoundedPerTurn) {
    hookLayout();
    auto root = UIView::make(CGRectMake(0, 0, 100, 100));
    auto child = UIView::make(CGRectMake(0, 0, 10, 10));
    root->setTag(1), child->setTag(2);
    turn();
    laidOut.clear();

    root->addSubview(child); // marks both
    EXPECT_TRUE(laidOut.empty());
    turn();
    EXPECT_EQ(laidOut, (Tags{1, 2}));

    laidOut.clear();
    child->setFrame(CGRectMake(5, 5, 10, 10)); // moving without resizing marks nothing
    turn();
    EXPECT_TRUE(laidOut.empty());

    child->setFrame(CGRectMake(5, 5, 20, 10)); // a size change marks the view
    child->setNeedsLayout();                   // twice in one turn: one pass
    root->setNeedsLayout();                    // marked after its child, laid out before
    turn();
    EXPECT_EQ(laidOut, (Tags{1, 2}));

    laidOut.clear();
    root->setNeedsLayout();
    root->layoutIfNeeded(); // at once
    EXPECT_EQ(laidOut, Tags{1});
    turn();
    EXPECT_EQ(laidOut, Tags{1});

    child->removeFromSuperview(); // marks the old superview
    UIKitEndTurn();               // the host's call after work outside a task
    EXPECT_EQ(laidOut, (Tags{1, 1}));

    child->setTag(9);
    child->setNeedsLayout();
    laidOut.clear();
    UIKitEndTurn();
    EXPECT_GE(laidOut.size(), 1u);
    EXPECT_LE(laidOut.size(), 4u); // bounded per turn; the rest waits for later turns
}

TEST(AutoLayout, AnchorsToOtherViewsFollowThemAndUnconstrainedViewsKeepTheirFrames) {
    auto root = UIView::make(CGRectMake(0, 0, 300, 300));
    auto fixed = UIView::make(CGRectMake(100, 100, 40, 40));
    root->addSubview(fixed);
    auto a = constrained(root, 50, 20);
    activate(a->centerXAnchor()->constraintEqualToAnchor(fixed->rightAnchor(), 10));
    activate(a->centerYAnchor()->constraintEqualToAnchor(fixed->centerYAnchor()));
    EXPECT_EQ(a->frame(), CGRectMake(0, 0, 0, 0)); // nothing until the pass
    UIKitEndTurn();
    EXPECT_EQ(a->frame(), CGRectMake(125, 110, 50, 20));
    EXPECT_EQ(fixed->frame(),
              CGRectMake(100, 100, 40, 40)); // unconstrained views keep their frames

    fixed->setFrame(CGRectMake(0, 0, 40, 40)); // what a constraint refers to moved
    UIKitEndTurn();
    EXPECT_EQ(a->frame(), CGRectMake(25, 10, 50, 20));

    // An edge of the grandparent, followed when only the grandparent resizes.
    auto mid = UIView::make(CGRectMake(20, 50, 200, 200));
    root->addSubview(mid);
    auto b = constrained(mid, 10, 10);
    activate(b->trailingAnchor()->constraintEqualToAnchor(root->trailingAnchor(), -5));
    UIKitEndTurn();
    EXPECT_EQ(b->frame().origin.x, 265);
    root->setFrame(CGRectMake(0, 0, 400, 300));
    UIKitEndTurn();
    EXPECT_EQ(b->frame().origin.x, 365);
}

TEST(AutoLayout, ConflictsAndFreedomResolveAsDocumented) {
    auto root = UIView::make(CGRectMake(0, 0, 300, 300));
    auto a = constrained(root);
    a->setFrame(CGRectMake(10, 10, 30, 40));
    activate(a->widthAnchor()->constraintEqualToConstant(50));
    activate(a->widthAnchor()->constraintEqualToConstant(60)); // contradicts: the earlier wins
    activate(a->centerXAnchor()->constraintEqualToAnchor(root->centerXAnchor()));
    // Nothing says where a is vertically or how tall: both keep their current values.
    UIKitEndTurn();
    EXPECT_EQ(a->frame(), CGRectMake(125, 10, 50, 40));

    // A cycle of edges that cannot hold, a non-finite constant and a constant on an
    // unconstrained partner: still a finite, deterministic result.
    auto b = constrained(root, 20);
    activate(b->leftAnchor()->constraintEqualToAnchor(a->rightAnchor()));
    activate(a->leftAnchor()->constraintEqualToAnchor(b->rightAnchor(), 10)); // cannot hold
    activate(b->heightAnchor()->constraintEqualToConstant(std::nan("")));
    activate(b->heightAnchor()->constraintEqualToAnchor(a->heightAnchor(), 2, 0));
    UIKitEndTurn();
    EXPECT_EQ(b->frame(), CGRectMake(175, 0, 20, 80));
    EXPECT_EQ(a->frame(), CGRectMake(125, 10, 50, 40));
}

TEST(AutoLayout, RemovalDeactivatesCrossingConstraintsAndOtherTreesWait) {
    auto root = UIView::make(CGRectMake(0, 0, 300, 300));
    auto a = constrained(root);
    auto width = a->widthAnchor()->constraintEqualToConstant(50);
    auto left = a->leftAnchor()->constraintEqualToAnchor(root->leftAnchor(), 5);
    activate(width);
    activate(left);
    a->removeFromSuperview();
    EXPECT_TRUE(width->isActive()); // belongs to the removed view alone
    EXPECT_FALSE(left->isActive());

    // A constraint to a view of another tree takes part once the trees are joined.
    auto other = UIView::make(CGRectMake(40, 0, 10, 10));
    activate(a->leftAnchor()->constraintEqualToAnchor(other->rightAnchor()));
    auto parked = UIView::make();
    parked->addSubview(a);
    UIKitEndTurn();
    EXPECT_EQ(a->frame().origin.x, 0);
    root->addSubview(parked);
    root->addSubview(other);
    UIKitEndTurn();
    EXPECT_EQ(a->frame(), CGRectMake(50, 0, 50, 0));
}

TEST(AutoLayout, SolvedFramesGoThroughSetFrameSoAHookCanReplaceThem) {
    static IMP original = nullptr;
    static int calls = 0;
    MSHookMessageEx(UIView::cls(), sel("setFrame:"), IMP(+[](id self, SEL cmd, CGRect r) {
                        if (cast<UIView>(self)->tag() == 7) calls++, r.origin.y = 99;
                        callIMP(original, self, cmd, r);
                    }),
                    &original);
    auto root = UIView::make(CGRectMake(0, 0, 300, 300));
    auto placed = constrained(root, 20, 20);
    placed->setTag(7);
    activate(placed->topAnchor()->constraintEqualToAnchor(root->topAnchor(), 5));
    UIKitEndTurn();
    EXPECT_EQ(placed->frame(), CGRectMake(0, 99, 20, 20));
    // The replaced frame stays; later passes ask again but nothing loops.
    root->setNeedsLayout();
    UIKitEndTurn();
    UIKitEndTurn();
    EXPECT_EQ(placed->frame().origin.y, 99);
    EXPECT_LE(calls, 3);
}

TEST(AutoLayout, TransformedViewsGetTheirUntransformedRectangle) {
    auto root = UIView::make(CGRectMake(0, 0, 390, 844));
    auto artwork = constrained(root, 250), pause = constrained(root, 39);
    artwork->setTransform(
        CGAffineTransformScale(CGAffineTransformMakeTranslation(-162.8, 0), 0.9, 0.9));
    pause->setTransform(CGAffineTransformMakeScale(1, 0)); // flat: its height cannot be read back
    for (UIView* v : {artwork.get(), pause.get()}) {
        activate(v->heightAnchor()->constraintEqualToAnchor(v->widthAnchor()));
        activate(v->centerXAnchor()->constraintEqualToAnchor(root->centerXAnchor()));
        activate(v->topAnchor()->constraintEqualToAnchor(root->topAnchor(), 100));
    }
    UIKitEndTurn();
    EXPECT_EQ(artwork->bounds(), CGRectMake(0, 0, 250, 250));
    EXPECT_EQ(artwork->center(), CGPointMake(195, 225));
    EXPECT_EQ(pause->bounds(), CGRectMake(0, 0, 39, 39));
    EXPECT_EQ(pause->center(), CGPointMake(195, 119.5));
}

TEST(AutoLayout, LayoutInsideAnAnimationBlockAnimatesTheSolvedFrames) {
    auto root = UIView::make(CGRectMake(0, 0, 200, 200));
    auto box = constrained(root, 20, 20);
    auto left = box->leftAnchor()->constraintEqualToAnchor(root->leftAnchor());
    activate(left);
    root->layoutIfNeeded();
    left->setConstant(100);
    UIView::animateWithDuration(1, 0, UIViewAnimationOptionCurveLinear,
                                [&] { root->layoutIfNeeded(); });
    EXPECT_EQ(box->frame().origin.x, 100);
    MainQueue::shared().runUntil(secondsToNanos(0.5));
    EXPECT_NEAR(box->presentationFrame().origin.x, 50, 1e-9);
}
