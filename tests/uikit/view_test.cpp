// Views: geometry derived from centre, bounds and transform; the tree and its windows;
// autoresizing.
#include "platform/uikit/uikit.h"

#include <gtest/gtest.h>

TEST(ViewGeometry, FrameFollowsCentreBoundsAndTransform) {
    auto v = UIView::make(CGRectMake(10, 20, 100, 50));
    EXPECT_EQ(v->center(), CGPointMake(60, 45));
    EXPECT_EQ(v->bounds(), CGRectMake(0, 0, 100, 50));

    // Scaled about the centre and moved unscaled: the notation the player animates with.
    v->setTransform(CGAffineTransformScale(CGAffineTransformMakeTranslation(5, -10), 0.5, 2));
    EXPECT_EQ(v->frame(), CGRectMake(40, -15, 50, 100));
    EXPECT_EQ(v->bounds(), CGRectMake(0, 0, 100, 50));

    // Setting the frame under a transform solves the centre and size back.
    v->setFrame(CGRectMake(0, 0, 40, 40));
    EXPECT_EQ(v->frame(), CGRectMake(0, 0, 40, 40));
    EXPECT_EQ(v->bounds(), CGRectMake(0, 0, 80, 20));

    // A flattening scale cannot give a height back: the bounds keep theirs.
    v->setTransform(CGAffineTransformMakeScale(1, 0));
    v->setFrame(CGRectMake(0, 0, 30, 0));
    EXPECT_EQ(v->bounds(), CGRectMake(0, 0, 30, 20));
    EXPECT_EQ(v->center(), CGPointMake(15, 0));
}

TEST(ViewTree, AddInsertMoveAndRemove) {
    auto a = UIView::make(), b = UIView::make(), c = UIView::make(), d = UIView::make();
    a->addSubview(b);
    a->addSubview(c);
    a->insertSubview(d, 0);
    ASSERT_EQ(a->subviews().size(), 3u);
    EXPECT_EQ(a->subviews()[0].get(), d.get());
    EXPECT_EQ(a->subviews()[2].get(), c.get());
    a->insertSubview(b, 99); // re-adding moves to the index (past the end appends)
    EXPECT_EQ(a->subviews()[2].get(), b.get());

    c->addSubview(b); // adding a view that has a superview moves it
    EXPECT_EQ(b->superview(), c.get());
    EXPECT_EQ(a->subviews().size(), 2u);

    // Cycles are refused.
    b->addSubview(a);
    EXPECT_EQ(a->superview(), nullptr);
    a->addSubview(a);
    EXPECT_EQ(a->subviews().size(), 2u);

    // A removed view survives while someone holds it.
    UIView* raw = b.get();
    b = nullptr;
    raw->removeFromSuperview();
    EXPECT_TRUE(c->subviews().empty());
}

std::vector<std::string> events;
IMP originalDidMove = nullptr;

TEST(ViewTree, DidMoveToWindowReachesHookForEveryViewWhoseWindowChanged) {
    MSHookMessageEx(UIView::cls(), sel("didMoveToWindow"), IMP(+[](id self, SEL cmd) {
                        callIMP(originalDidMove, self, cmd);
                        auto* v = cast<UIView>(self);
                        events.push_back(std::to_string(v->tag()) + (v->window() ? ":in" : ":out"));
                    }),
                    &originalDidMove);
    auto window = UIView::make<UIWindow>(CGRectMake(0, 0, 390, 844));
    auto parent = UIView::make(), child = UIView::make(), other = UIView::make();
    parent->setTag(1), child->setTag(2);
    parent->addSubview(child);
    EXPECT_TRUE(events.empty()); // no window yet, no change

    window->addSubview(parent);
    EXPECT_EQ(events, (std::vector<std::string>{"1:in", "2:in"}));

    window->addSubview(other);
    events.clear();
    other->addSubview(parent); // same window: nothing to report
    EXPECT_TRUE(events.empty());

    parent->removeFromSuperview();
    EXPECT_EQ(events, (std::vector<std::string>{"1:out", "2:out"}));
}

TEST(ViewTree, WindowThatGoesClearsItsViews) {
    auto child = UIView::make();
    {
        auto window = UIView::make<UIWindow>(CGRectMake(0, 0, 10, 10));
        window->addSubview(child);
        EXPECT_EQ(child->window(), window.get());
        child->removeFromSuperview();
        window->addSubview(child);
    }
    UIKitEndTurn(); // views marked for layout are held until the pass
    EXPECT_EQ(child->window(), nullptr);
    EXPECT_EQ(child->superview(), nullptr);
}

TEST(ViewAttributes, AutoresizingFollowsTheSuperviewForMaskedViewsPlacedByFrame) {
    auto root = UIView::make(CGRectMake(0, 0, 200, 100));
    auto mid = UIView::make(CGRectMake(10, 10, 180, 80));
    auto leaf = UIView::make(CGRectMake(0, 0, 10, 10));
    root->addSubview(mid);
    mid->addSubview(leaf);
    mid->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    root->setFrame(CGRectMake(0, 0, 300, 400));
    EXPECT_EQ(mid->frame(), CGRectMake(10, 10, 280, 380)); // the margins stay
    EXPECT_EQ(leaf->frame(), CGRectMake(0, 0, 10, 10));    // mask 0 stays
    mid->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->setFrame(CGRectMake(0, 0, 100, 100));
    EXPECT_EQ(mid->frame(), CGRectMake(10, 10, 280, 380));
}
