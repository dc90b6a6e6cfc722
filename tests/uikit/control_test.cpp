// Target-action, gesture recognisers, controllers and the responder chain.
#include "platform/uikit/uikit.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> received;

// A host object with methods added at run time, as the plug-in adds them to the cover sheet.
Ref<UIView> makeTarget() {
    Class cls = objc_makeClass("TestCoverSheet", UIView::cls());
    for (const char* name : {"pausePlaySong", "minimizeMiniPlayer"})
        rt_addMethod(
            cls, name, +[](id, SEL cmd) { received.push_back(sel_getName(cmd)); });
    return allocAs<UIView>(cls);
}

} // namespace

TEST(TargetAction, ReachesAddedMethodsByEventAndSkipsGoneTargets) {
    auto cover = makeTarget();
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    button->addTarget(cover, "pausePlaySong", UIControlEventTouchUpInside);
    button->addTarget(cover, "minimizeMiniPlayer",
                      UIControlEventTouchUpInside | UIControlEventTouchDown);
    button->addTarget(cover, "noSuchMethod", UIControlEventTouchUpInside);
    button->sendActionsForControlEvents(UIControlEventValueChanged);
    EXPECT_TRUE(received.empty());
    button->sendActionsForControlEvents(64);
    EXPECT_EQ(received, (std::vector<std::string>{"pausePlaySong", "minimizeMiniPlayer"}));

    // A nil target goes up the responder chain.
    received.clear();
    auto loose = UIButton::buttonWithType(UIButtonTypeCustom);
    cover->addSubview(loose);
    loose->addTarget(nullptr, "pausePlaySong", UIControlEventTouchUpInside);
    loose->sendActionsForControlEvents(UIControlEventTouchUpInside);
    EXPECT_EQ(received, std::vector<std::string>{"pausePlaySong"});

    // Targets are not retained: one that is gone is skipped.
    received.clear();
    auto other = makeTarget();
    auto orphan = UIButton::buttonWithType(UIButtonTypeCustom);
    orphan->addTarget(other, "pausePlaySong", UIControlEventTouchUpInside);
    EXPECT_EQ(other->retainCount(), 1);
    other = nullptr;
    orphan->sendActionsForControlEvents(UIControlEventTouchUpInside);
    EXPECT_TRUE(received.empty());
}

TEST(TargetAction, ButtonWithTypeMakesTheReceivingSubclassAndKeepsStateContent) {
    Class outlined = objc_makeClass("TestOutlinedButton", UIButton::cls());
    id made = send<id>(static_cast<id>(outlined), "buttonWithType:", 0L);
    ASSERT_NE(cast<UIButton>(made), nullptr);
    EXPECT_EQ(made->isa, outlined);

    auto button = UIButton::buttonWithType(UIButtonTypeSystem);
    auto play = UIImage::systemImageNamed("airplayaudio");
    button->setImage(play, UIControlStateNormal);
    button->setHighlighted(true);
    EXPECT_EQ(button->currentImage(), play.get()); // falls back to the normal state
}

TEST(Gestures, ASwipeFiresTheFirstEnabledMatchingRecogniserUpTheTree) {
    auto cover = makeTarget();
    auto vey = UIView::make(), label = UIView::make();
    cover->addSubview(vey);
    vey->addSubview(label);
    for (int i = 0; i < 2; i++) { // rebuilds attach another recogniser each time
        auto swipe =
            UIGestureRecognizer::make<UISwipeGestureRecognizer>(cover, "minimizeMiniPlayer");
        swipe->setDirection(UISwipeGestureRecognizerDirectionDown);
        vey->addGestureRecognizer(swipe);
    }
    EXPECT_FALSE(
        UISwipeGestureRecognizer::deliverSwipe(label, UISwipeGestureRecognizerDirectionUp));
    EXPECT_TRUE(received.empty());
    vey->gestureRecognizers()[0]->setEnabled(false);
    EXPECT_TRUE(UISwipeGestureRecognizer::deliverSwipe(label, 8)); // the second one
    vey->gestureRecognizers()[1]->setEnabled(false);
    EXPECT_FALSE(UISwipeGestureRecognizer::deliverSwipe(label, 8));
    EXPECT_EQ(received, std::vector<std::string>{"minimizeMiniPlayer"});
}

TEST(Controllers, ViewLoadsOnceAndTheResponderChainRunsThroughTheWindow) {
    auto controller = UIViewController::make<UIViewController>();
    EXPECT_FALSE(controller->isViewLoaded());
    UIView* root = controller->view();
    EXPECT_EQ(controller->view(), root);
    EXPECT_EQ(root->frame(), UIScreen::mainScreen()->bounds());
    EXPECT_EQ(root->nextResponder(), controller.get());

    auto window = UIView::make<UIWindow>(CGRectMake(0, 0, 300, 600));
    window->setRootViewController(controller);
    window->makeKeyAndVisible();
    EXPECT_EQ(root->window(), window.get());
    EXPECT_EQ(root->frame(), CGRectMake(0, 0, 300, 600));
    EXPECT_EQ(controller->nextResponder(), window.get());
    id app = send<id>(static_cast<id>(UIApplication::cls()), "sharedApplication");
    EXPECT_EQ(cast<UIApplication>(app)->keyWindow(), window.get());
}
