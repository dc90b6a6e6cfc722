// Layout passes and Auto Layout: when passes run, what layoutSubviews sees, and the frames the
// solver gives the player's kinds of constraint.
#include "platform/uikit/uikit.h"

#include <gtest/gtest.h>

namespace {

void expectRect(CGRect r, double x, double y, double w, double h) {
    EXPECT_NEAR(r.origin.x, x, 1e-6);
    EXPECT_NEAR(r.origin.y, y, 1e-6);
    EXPECT_NEAR(r.size.width, w, 1e-6);
    EXPECT_NEAR(r.size.height, h, 1e-6);
}

void activate(Ref<NSLayoutConstraint> c) {
    c->setActive(true);
}

Ref<UIView> constrained(UIView* parent) {
    auto v = UIView::make();
    v->setTranslatesAutoresizingMaskIntoConstraints(false);
    parent->addSubview(v);
    return v;
}

Ref<UIView> sized(UIView* parent, double width, double height) {
    auto v = constrained(parent);
    activate(v->widthAnchor()->constraintEqualToConstant(width));
    activate(v->heightAnchor()->constraintEqualToConstant(height));
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

TEST(LayoutPasses, RunAfterTheTurnThatMarkedAView) {
    hookLayout();
    auto root = UIView::make(CGRectMake(0, 0, 100, 100));
    auto child = UIView::make(CGRectMake(0, 0, 10, 10));
    root->setTag(1);
    child->setTag(2);
    turn();
    laidOut.clear();

    root->addSubview(child); // marks both
    EXPECT_TRUE(laidOut.empty());
    turn();
    EXPECT_EQ(laidOut, (Tags{1, 2}));

    laidOut.clear();
    child->setFrame(CGRectMake(5, 5, 10, 10)); // moving without resizing marks nothing
    (void)child->frame();
    turn();
    EXPECT_TRUE(laidOut.empty());

    child->setFrame(CGRectMake(5, 5, 20, 10)); // a size change marks the view
    child->setNeedsLayout();                   // twice in one turn: one pass
    turn();
    EXPECT_EQ(laidOut, Tags{2});

    laidOut.clear();
    root->setNeedsLayout();
    root->layoutIfNeeded(); // at once
    EXPECT_EQ(laidOut, Tags{1});
    turn();
    EXPECT_EQ(laidOut, Tags{1});

    child->removeFromSuperview(); // marks the old superview
    UIKitEndTurn();               // the host's call after work outside a task
    EXPECT_EQ(laidOut, (Tags{1, 1}));
}

TEST(LayoutPasses, ParentsBeforeChildrenAndNoHangOnSelfMarking) {
    hookLayout();
    auto a = UIView::make(), b = UIView::make(), c = UIView::make();
    a->setTag(1), b->setTag(2), c->setTag(3);
    a->addSubview(b);
    b->addSubview(c);
    UIKitEndTurn();
    c->setNeedsLayout();
    a->setNeedsLayout();
    b->setNeedsLayout();
    laidOut.clear();
    UIKitEndTurn();
    EXPECT_EQ(laidOut, (Tags{1, 2, 3}));

    auto loop = UIView::make();
    loop->setTag(9);
    loop->setNeedsLayout();
    laidOut.clear();
    UIKitEndTurn();
    EXPECT_GE(laidOut.size(), 1u);
    EXPECT_LE(laidOut.size(), 4u); // bounded per turn; the rest waits for later turns
}

TEST(AutoLayout, CentreToEdgeWithConstantsAndAViewWithoutConstraints) {
    auto root = UIView::make(CGRectMake(0, 0, 300, 300));
    auto fixed = UIView::make(CGRectMake(100, 100, 40, 40));
    root->addSubview(fixed);
    auto a = sized(root, 50, 20);
    activate(a->centerXAnchor()->constraintEqualToAnchor(fixed->rightAnchor(), 10));
    activate(a->centerYAnchor()->constraintEqualToAnchor(fixed->centerYAnchor()));
    expectRect(a->frame(), 0, 0, 0, 0); // nothing until the pass
    UIKitEndTurn();
    expectRect(a->frame(), 125, 110, 50, 20);
    expectRect(fixed->frame(), 100, 100, 40, 40); // unconstrained views keep their frames

    fixed->setFrame(CGRectMake(0, 0, 40, 40)); // what a constraint refers to moved
    UIKitEndTurn();
    expectRect(a->frame(), 25, 10, 50, 20);
}

// The player's maxi build on a 390 x 844 cover sheet: labels constrained to their grandparent,
// buttons chained off each other's edges.
TEST(AutoLayout, GrandparentEdgesAndChainsOfAnchors) {
    auto cover = UIView::make<UIWindow>(CGRectMake(0, 0, 390, 844));
    auto vey = UIView::make(CGRectMake(0, 285.9, 390, 425.5));
    cover->addSubview(vey);
    auto source = sized(vey, 390, 22.23);
    activate(source->centerXAnchor()->constraintEqualToAnchor(vey->centerXAnchor()));
    activate(source->centerYAnchor()->constraintEqualToAnchor(cover->bottomAnchor(), -22.23));
    auto pause = sized(vey, 39, 39);
    activate(pause->centerXAnchor()->constraintEqualToAnchor(vey->centerXAnchor()));
    activate(pause->centerYAnchor()->constraintEqualToAnchor(source->topAnchor(), -144.3));
    auto icon = UIView::make(pause->bounds());
    icon->setAutoresizingMask(18);
    pause->addSubview(icon);
    auto rewind = sized(vey, 48.75, 48.75);
    activate(rewind->centerXAnchor()->constraintEqualToAnchor(pause->leftAnchor(), -46.8));
    activate(rewind->centerYAnchor()->constraintEqualToAnchor(pause->centerYAnchor()));
    auto artist = constrained(vey);
    activate(artist->leadingAnchor()->constraintEqualToAnchor(cover->leadingAnchor(), 28.08));
    activate(artist->trailingAnchor()->constraintEqualToAnchor(cover->trailingAnchor(), -28.08));
    activate(artist->heightAnchor()->constraintEqualToConstant(28.08));
    activate(artist->centerYAnchor()->constraintEqualToAnchor(pause->topAnchor(), -44.46));
    UIKitEndTurn();

    // In vey's coordinates: the cover's bottom is at 844 - 285.9 = 558.1.
    expectRect(source->frame(), 0, 524.755, 390, 22.23);
    expectRect(pause->frame(), 175.5, 360.955, 39, 39);
    expectRect(icon->frame(), 0, 0, 39, 39); // autoresizing 18 followed the solved size
    expectRect(rewind->frame(), 104.325, 356.08, 48.75, 48.75);
    expectRect(artist->frame(), 28.08, 302.455, 333.84, 28.08);

    // The grandparent's size changes: the labels follow in the next pass.
    cover->setFrame(CGRectMake(0, 0, 400, 844));
    UIKitEndTurn();
    EXPECT_NEAR(artist->frame().size.width, 343.84, 1e-9);
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
    expectRect(a->frame(), 125, 10, 50, 40);

    // A cycle of edges that cannot hold, a non-finite constant and a constant on an
    // unconstrained partner: still a finite, deterministic result.
    auto b = constrained(root);
    activate(b->widthAnchor()->constraintEqualToConstant(20));
    activate(b->leftAnchor()->constraintEqualToAnchor(a->rightAnchor()));
    activate(a->leftAnchor()->constraintEqualToAnchor(b->rightAnchor(), 10)); // cannot hold
    activate(b->heightAnchor()->constraintEqualToConstant(std::nan("")));
    activate(b->heightAnchor()->constraintEqualToAnchor(a->heightAnchor(), 2, 0));
    UIKitEndTurn();
    expectRect(b->frame(), 175, 0, 20, 80);
    expectRect(a->frame(), 125, 10, 50, 40);
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

    // A view that goes takes its own constraints with it.
    activate(other->widthAnchor()->constraintEqualToConstant(10));
    other->removeFromSuperview();
    std::size_t before = NSLayoutConstraint::activeConstraints().size();
    other = nullptr;
    EXPECT_EQ(NSLayoutConstraint::activeConstraints().size(), before - 1);
}

TEST(AutoLayout, SolvedFramesGoThroughSetFrameSoAHookCanReplaceThem) {
    static IMP original = nullptr;
    static int calls = 0;
    Class cls = objc_makeClass("TestPlacedView", UIView::cls());
    MSHookMessageEx(cls, sel("setFrame:"), reinterpret_cast<IMP>(+[](id self, SEL cmd, CGRect r) {
                        calls++;
                        r.origin.y = 99;
                        callIMP(original, self, cmd, r);
                    }),
                    &original);
    auto root = UIView::make(CGRectMake(0, 0, 300, 300));
    auto placed = allocAs<UIView>(cls);
    send<id>(placed.get(), "init");
    placed->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->addSubview(placed);
    activate(placed->widthAnchor()->constraintEqualToConstant(20));
    activate(placed->heightAnchor()->constraintEqualToConstant(20));
    activate(placed->topAnchor()->constraintEqualToAnchor(root->topAnchor(), 5));
    calls = 0;
    UIKitEndTurn();
    expectRect(placed->frame(), 0, 99, 20, 20);
    // The replaced frame stays; later passes ask again but nothing loops.
    root->setNeedsLayout();
    UIKitEndTurn();
    UIKitEndTurn();
    EXPECT_EQ(placed->frame().origin.y, 99);
    EXPECT_LE(calls, 3);
}

TEST(AutoLayout, TransformedViewsGetTheirUntransformedRectangle) {
    auto root = UIView::make(CGRectMake(0, 0, 390, 844));
    auto artwork = constrained(root);
    auto pause = constrained(root);
    artwork->setTransform(
        CGAffineTransformScale(CGAffineTransformMakeTranslation(-162.8, 0), 0.9, 0.9));
    pause->setTransform(CGAffineTransformMakeScale(1, 0)); // flat: its height cannot be read back
    for (UIView* v : {artwork.get(), pause.get()}) {
        activate(v->widthAnchor()->constraintEqualToConstant(v == pause ? 39 : 250));
        activate(v->heightAnchor()->constraintEqualToAnchor(v->widthAnchor()));
        activate(v->centerXAnchor()->constraintEqualToAnchor(root->centerXAnchor()));
        activate(v->topAnchor()->constraintEqualToAnchor(root->topAnchor(), 100));
    }
    UIKitEndTurn();
    EXPECT_EQ(artwork->bounds(), CGRectMake(0, 0, 250, 250));
    EXPECT_EQ(artwork->center(), CGPointMake(195, 225));
    EXPECT_EQ(pause->bounds(), CGRectMake(0, 0, 39, 39));
    EXPECT_EQ(pause->center(), CGPointMake(195, 119.5));
    expectRect(artwork->frame(), 195 - 112.5 - 162.8, 225 - 112.5, 225, 225);
}

TEST(AutoLayout, LayoutInsideAnAnimationBlockAnimatesTheSolvedFrames) {
    auto root = UIView::make(CGRectMake(0, 0, 200, 200));
    auto box = sized(root, 20, 20);
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
