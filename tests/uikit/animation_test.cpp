// Animations on the virtual clock: presentation values over time, curves, completions and
// transitions.
#include "platform/uikit/uikit.h"

#include <gtest/gtest.h>

namespace {

void runTo(double seconds) {
    MainQueue::shared().runUntil(secondsToNanos(seconds));
}

// Completions as "name@milliseconds", or "cut short" when one did not finish.
std::vector<std::string> done;
std::function<void(bool)> note(std::string name) {
    return [name](bool finished) {
        done.push_back(finished ? name + "@" +
                                      std::to_string(MainQueue::shared().nowNanos() / NSEC_PER_MSEC)
                                : "cut short");
    };
}

} // namespace

TEST(AnimationCurves, EaseInOutIsSymmetricEaseOutLeadsAndSpringsSettle) {
    auto easeInOut = UIAnimationCurve::fromOptions(0);
    for (double t = 0; t <= 1.0001; t += 0.05)
        EXPECT_NEAR(easeInOut.progress(t) + easeInOut.progress(1 - t), 1, 1e-9) << t;
    EXPECT_LT(easeInOut.progress(0.1), 0.1);
    EXPECT_GT(UIAnimationCurve::fromOptions(UIViewAnimationOptionCurveEaseOut).progress(0.5), 0.6);

    // The player's spring (damping 1000) rises monotonically to the target and never passes
    // it; a bouncy one overshoots and still ends exactly on the target.
    for (auto [damping, overshoots] : {std::pair{1000.0, false}, {0.3, true}}) {
        auto spring = UIAnimationCurve::spring(damping);
        double last = 0, peak = 0;
        bool monotonic = true;
        for (int i = 1; i <= 1000; i++) {
            double p = spring.progress(i / 1000.0);
            monotonic &= p >= last;
            peak = std::max(peak, last = p);
        }
        EXPECT_EQ(last, 1.0) << damping;
        EXPECT_EQ(peak > 1.0, overshoots) << damping;
        EXPECT_EQ(monotonic, !overshoots) << damping;
    }
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
    runTo(0.04);
    EXPECT_EQ(v->presentationAlpha(), 1);
    EXPECT_EQ(v->presentationFrame(), CGRectMake(0, 0, 100, 100));

    runTo(0.15); // the middle: ease-in-out is half way; the colour comes from clear
    EXPECT_NEAR(v->presentationAlpha(), 0.5, 1e-9);
    EXPECT_NEAR(v->presentationTransform().ty, 20, 1e-9);
    EXPECT_NEAR(v->presentationFrame().origin.x, 50, 1e-9);
    EXPECT_NEAR(v->presentationFrame().size.width, 150, 1e-9);
    EXPECT_NEAR(v->presentationBackgroundColor()->rgba().a, 0.5, 1e-9);

    runTo(0.25);
    EXPECT_EQ(v->presentationFrame(), v->frame());
    EXPECT_TRUE(v->presentationBackgroundColor()->isEqual(UIColor::whiteColor()));
    EXPECT_FALSE(v->hasRunningAnimations());
}

TEST(Animations, CompletionsRunAtTheEndInSchedulingOrder) {
    auto v = UIView::make();
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
    EXPECT_EQ(done, (std::vector<std::string>{"empty@0", "zero@0", "a@350", "b@350"}));
}

TEST(Animations, NewerAndChainedOnesStartFromThePresentationAndOlderOnesStillEnd) {
    auto parent = UIView::make(), v = UIView::make();
    parent->addSubview(v);
    UIView::animateWithDuration(
        1, 0, UIViewAnimationOptionCurveLinear, [&] { v->setAlpha(0); },
        [&](bool finished) {
            note("older")(finished);
            UIView::animateWithDuration(
                0.2, 0, 0, [&] { v->setTransform(CGAffineTransformMakeTranslation(0, 78)); },
                note("chained"));
        });
    runTo(0.5);
    UIView::animateWithDuration(
        1, 0, UIViewAnimationOptionCurveLinear, [&] { v->setAlpha(1); }, note("newer"));
    EXPECT_NEAR(v->presentationAlpha(), 0.5, 1e-9); // no jump
    v->removeFromSuperview();                       // leaving the tree cuts nothing short
    runTo(1.0);
    EXPECT_NEAR(v->presentationAlpha(), 0.5, 1e-9);
    runTo(1.1); // the chained one started at the completion
    EXPECT_NEAR(v->presentationTransform().ty, 39, 1e-9);
    runTo(1.5);
    EXPECT_EQ(done, (std::vector<std::string>{"older@1000", "chained@1200", "newer@1500"}));
    EXPECT_EQ(v->presentationAlpha(), 1);
}

TEST(Transitions, TheNewContentIsSetAtOnceAndTheCompletionRunsAtTheEnd) {
    auto view = UIView::make<UIImageView>(CGRectMake(0, 0, 10, 10));
    runTo(1);
    UIView::transitionWithView(
        view, 0.4, UIViewAnimationOptionTransitionCrossDissolve,
        [&] { view->setAlpha(0.5); }, // part of the new content, not animated on its own
        note("transition"));
    EXPECT_EQ(view->presentationAlpha(), 0.5);
    EXPECT_EQ(view->transitions().size(), 1u);
    runTo(2);
    EXPECT_EQ(done, std::vector<std::string>{"transition@1400"});
    EXPECT_TRUE(view->transitions().empty()); // the old content is let go at the end
}
