// Animations on the virtual clock: presentation values over time, curves, completions and
// transitions.
#include "platform/uikit/uikit.h"

#include <gtest/gtest.h>

namespace {

std::int64_t ms(double v) {
    return std::int64_t(v * NSEC_PER_MSEC);
}

void runTo(double seconds) {
    MainQueue::shared().runUntil(secondsToNanos(seconds));
}

} // namespace

TEST(AnimationCurves, EaseInOutIsSymmetricEaseOutLeadsAndSpringsSettle) {
    auto easeInOut = UIAnimationCurve::fromOptions(0);
    auto easeOut = UIAnimationCurve::fromOptions(UIViewAnimationOptionCurveEaseOut);
    auto linear = UIAnimationCurve::fromOptions(UIViewAnimationOptionCurveLinear);
    for (double t = 0; t <= 1.0001; t += 0.05) {
        EXPECT_NEAR(easeInOut.progress(t) + easeInOut.progress(1 - t), 1, 1e-9) << t;
        EXPECT_NEAR(linear.progress(t), std::min(t, 1.0), 1e-9);
    }
    EXPECT_NEAR(easeInOut.progress(0.5), 0.5, 1e-9);
    EXPECT_LT(easeInOut.progress(0.1), 0.1);
    EXPECT_GT(easeOut.progress(0.5), 0.6);

    // The player's spring: damping 1000 rises monotonically and never passes the target.
    auto stiff = UIAnimationCurve::spring(1000);
    double last = 0;
    for (int i = 1; i <= 1000; i++) {
        double p = stiff.progress(i / 1000.0);
        EXPECT_GE(p, last);
        EXPECT_LE(p, 1.0);
        last = p;
    }
    EXPECT_EQ(last, 1.0);
    // A bouncy spring does overshoot, and still ends exactly on the target.
    auto bouncy = UIAnimationCurve::spring(0.3);
    double peak = 0;
    for (int i = 1; i < 100; i++)
        peak = std::max(peak, bouncy.progress(i / 100.0));
    EXPECT_GT(peak, 1.0);
    EXPECT_EQ(bouncy.progress(1), 1.0);
}

TEST(Animations, PresentationFollowsDelayDurationAndCurve) {
    auto v = UIView::make(CGRectMake(0, 0, 100, 100));
    UIView::animateWithDuration(0.2, 0.05, 0, [&] {
        v->setAlpha(0);
        v->setTransform(CGAffineTransformMakeTranslation(0, 40));
        v->setFrame(CGRectMake(100, 0, 200, 100));
        v->setBackgroundColor(UIColor::whiteColor());
    });
    // The model changed at once; the presentation waits for the delay.
    EXPECT_EQ(v->alpha(), 0);
    EXPECT_EQ(v->frame(), CGRectMake(100, 0, 200, 100));
    runTo(0.04);
    EXPECT_EQ(v->presentationAlpha(), 1);
    EXPECT_EQ(v->presentationTransform(), CGAffineTransformIdentity);
    EXPECT_EQ(v->presentationFrame(), CGRectMake(0, 0, 100, 100));
    EXPECT_EQ(v->presentationBackgroundColor()->rgba().a, 0); // from no colour (clear)

    runTo(0.15); // the middle: ease-in-out is half way
    EXPECT_NEAR(v->presentationAlpha(), 0.5, 1e-9);
    EXPECT_NEAR(v->presentationTransform().ty, 20, 1e-9);
    CGRect mid = v->presentationFrame();
    EXPECT_NEAR(mid.origin.x, 50, 1e-9);
    EXPECT_NEAR(mid.size.width, 150, 1e-9);
    EXPECT_NEAR(v->presentationBackgroundColor()->rgba().a, 0.5, 1e-9);
    EXPECT_TRUE(v->hasRunningAnimations());

    runTo(0.25);
    EXPECT_EQ(v->presentationAlpha(), 0);
    EXPECT_EQ(v->presentationFrame(), v->frame());
    EXPECT_TRUE(v->presentationBackgroundColor()->isEqual(UIColor::whiteColor()));
    EXPECT_FALSE(v->hasRunningAnimations());
}

TEST(Animations, CompletionsRunAtTheEndInSchedulingOrder) {
    auto v = UIView::make();
    std::vector<std::pair<std::string, std::int64_t>> done;
    auto note = [&](std::string name) {
        return [&done, name](bool finished) {
            EXPECT_TRUE(finished);
            done.push_back({name, MainQueue::shared().nowNanos()});
        };
    };
    UIView::animateWithDuration(
        0.2, 0.15, 0, [&] { v->setAlpha(0); }, note("a"));
    UIView::animateWithSpring(
        0.25, 0.1, 1000, 0, UIViewAnimationOptionCurveEaseOut,
        [&] { v->setTransform(CGAffineTransformMakeScale(2, 2)); }, note("b"));
    UIView::animateWithDuration(
        0.1, 0, 0, [] {}, note("empty")); // nothing to animate
    UIView::animateWithDuration(
        0, 1, 0, [&] { v->setTag(1); }, note("zero"));
    EXPECT_TRUE(done.empty()); // never inside the call
    runTo(1);
    ASSERT_EQ(done.size(), 4u);
    EXPECT_EQ(done[0], std::make_pair(std::string("empty"), std::int64_t(0)));
    EXPECT_EQ(done[1], std::make_pair(std::string("zero"), std::int64_t(0)));
    EXPECT_EQ(done[2], std::make_pair(std::string("a"), ms(350)));
    EXPECT_EQ(done[3], std::make_pair(std::string("b"), ms(350)));
}

TEST(Animations, ChainedFromACompletionAndOnARemovedView) {
    auto parent = UIView::make();
    auto v = UIView::make();
    parent->addSubview(v);
    bool chainedDone = false;
    UIView::animateWithDuration(
        0.15, 0, 0, [&] { v->setTransform(CGAffineTransformMakeScale(0.9, 0.9)); },
        [&](bool) {
            UIView::animateWithDuration(
                0.2, 0, 0, [&] { v->setTransform(CGAffineTransformMakeTranslation(0, 78)); },
                [&](bool finished) { chainedDone = finished; });
        });
    runTo(0.15);
    EXPECT_EQ(v->presentationTransform(), CGAffineTransformMakeScale(0.9, 0.9));
    v->removeFromSuperview(); // animations are not cut short by leaving the tree
    runTo(0.25);
    EXPECT_NEAR(v->presentationTransform().ty, 39, 1e-9);
    EXPECT_FALSE(chainedDone);
    runTo(0.35);
    EXPECT_TRUE(chainedDone);
    EXPECT_EQ(v->presentationTransform(), CGAffineTransformMakeTranslation(0, 78));
}

TEST(Animations, ANewerAnimationOfThePropertyStartsFromWhereTheOlderHasGot) {
    auto v = UIView::make();
    int completions = 0;
    UIView::animateWithDuration(
        1, 0, UIViewAnimationOptionCurveLinear, [&] { v->setAlpha(0); },
        [&](bool finished) { completions += finished; });
    runTo(0.5);
    EXPECT_NEAR(v->presentationAlpha(), 0.5, 1e-9);
    UIView::animateWithDuration(
        1, 0, UIViewAnimationOptionCurveLinear, [&] { v->setAlpha(1); },
        [&](bool finished) { completions += finished; });
    EXPECT_NEAR(v->presentationAlpha(), 0.5, 1e-9); // no jump
    runTo(1.0);
    EXPECT_EQ(completions, 1); // the older one still ends on its own time, finished
    EXPECT_NEAR(v->presentationAlpha(), 0.5, 1e-9);
    runTo(1.5);
    EXPECT_EQ(completions, 2);
    EXPECT_EQ(v->presentationAlpha(), 1);
}

TEST(Animations, LayoutInsideABlockAnimatesTheSolvedFrames) {
    auto root = UIView::make(CGRectMake(0, 0, 200, 200));
    auto box = UIView::make();
    box->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->addSubview(box);
    box->widthAnchor()->constraintEqualToConstant(20)->setActive(true);
    box->heightAnchor()->constraintEqualToConstant(20)->setActive(true);
    auto left = box->leftAnchor()->constraintEqualToAnchor(root->leftAnchor());
    left->setActive(true);
    root->layoutIfNeeded();
    left->setConstant(100);
    UIView::animateWithDuration(1, 0, UIViewAnimationOptionCurveLinear,
                                [&] { root->layoutIfNeeded(); });
    EXPECT_EQ(box->frame().origin.x, 100);
    runTo(0.5);
    EXPECT_NEAR(box->presentationFrame().origin.x, 50, 1e-9);
}

TEST(Transitions, RecordTheSnapshotBeforeTheBlockAndTheTiming) {
    auto image = UIImage::systemImageNamed("play.fill");
    auto view = UIView::make<UIImageView>(CGRectMake(0, 0, 10, 10));
    std::vector<std::string> seen;
    UIViewSetTransitionSnapshotHook([&](UIView* v) -> Ref<NSObject> {
        auto* iv = cast<UIImageView>(v);
        seen.push_back(iv && iv->image() ? "image" : "empty");
        return NSString::make("before");
    });
    runTo(1);
    bool finished = false;
    UIView::transitionWithView(
        view, 0.4, UIViewAnimationOptionTransitionCrossDissolve,
        [&] {
            view->setImage(image);
            view->setAlpha(0.5); // part of the new content, not animated on its own
        },
        [&](bool f) { finished = f; });
    EXPECT_EQ(seen, std::vector<std::string>{"empty"});
    EXPECT_EQ(view->image(), image.get());
    EXPECT_EQ(view->presentationAlpha(), 0.5);
    ASSERT_EQ(view->transitions().size(), 1u);
    const UIViewTransition& t = view->transitions()[0];
    EXPECT_EQ(t.view, view.get());
    EXPECT_EQ(t.before->description(), "before");
    EXPECT_EQ(t.begin, ms(1000));
    EXPECT_EQ(t.duration, ms(400));
    EXPECT_EQ(t.options, UIViewAnimationOptionTransitionCrossDissolve);
    runTo(1.2);
    EXPECT_NEAR(t.progressAt(MainQueue::shared().nowNanos()), 0.5, 1e-9);
    EXPECT_FALSE(finished);
    runTo(1.4);
    EXPECT_TRUE(finished);
    EXPECT_EQ(t.progressAt(MainQueue::shared().nowNanos()), 1);
}
