// Hiding and bringing back the notifications, and keeping the stock player collapsed.
#include "tests/controls/transport_fixture.h"

using namespace transporttest;

namespace {

using Notifications = LockScreenTest;

int zeroHeightPins(UIView* view) {
    int n = 0;
    for (NSLayoutConstraint* c : NSLayoutConstraint::activeConstraints())
        n += c->firstItem() == view && c->firstAttribute() == NSLayoutAttributeHeight &&
             !c->secondItem() && c->constant() == 0;
    return n;
}

bool collapsed(UIView* view) {
    return zeroHeightPins(view) == 1 && view->isHidden() && view->layer()->masksToBounds();
}

} // namespace

TEST_F(Notifications, ASecondHideLeavesTheListButHidesTheStackAgain) {
    send(sheet(), "hideNotifications:", YES);
    run(1);
    ls->adjunctStack->setHidden(NO);
    send(sheet(), "hideNotifications:", YES);
    EXPECT_TRUE(ls->notificationList->isHidden());
    run(0.31);
    EXPECT_TRUE(ls->adjunctStack->isHidden());
}

TEST_F(Notifications, ShowRisesEachListInTurnAndLeavesRenamedSubclassesAlone) {
    // The container's children: list, stack, a second list, a list under another name.
    Ref<UIView> second = UIView::make<NCNotificationListView>();
    Ref<UIView> renamed = allocAs<UIView>(
        objc_makeClass("VeyTestNotificationListView", NCNotificationListView::cls()));
    send<id>(renamed.get(), "initWithFrame:", CGRectZero);
    ls->notificationContainer->addSubview(second);
    ls->notificationContainer->addSubview(renamed);
    send(sheet(), "hideNotifications:", YES);
    run(1);
    send(sheet(), "hideNotifications:", NO);
    // From 7 % of the 568-point sheet below, squeezed to 0.9, over 0.45 s.
    for (auto [view, delay] : {std::pair<UIView*, double>{ls->notificationList, 0.35},
                               {ls->adjunctStack, 0.35},
                               {second, 0.45}}) {
        std::int64_t starts = MainQueue::shared().nowNanos() + secondsToNanos(delay);
        EXPECT_FALSE(view->isHidden());
        EXPECT_EQ(view->presentationAlpha(starts), 0);
        CGAffineTransform below = view->presentationTransform(starts);
        EXPECT_NEAR(below.ty, 39.76, 1e-9);
        EXPECT_EQ(below.d, 0.9);
        EXPECT_EQ(view->presentationAlpha(starts + secondsToNanos(0.45)), 1);
        EXPECT_EQ(view->presentationTransform(starts + secondsToNanos(0.45)),
                  CGAffineTransformIdentity);
    }
    EXPECT_TRUE(renamed->animations().empty());
    EXPECT_EQ(renamed->alpha(), 1);
}

TEST_F(Notifications, WithoutTheHostViewsOnlyTheStateIsRecorded) {
    notificationView = nullptr;
    defaultPlayerViewParent = nullptr;
    originalPlayerView = nullptr;
    send(sheet(), "hideNotifications:", YES);
    send(sheet(), "hidePlayer");
    EXPECT_EQ(prevNotification, 1);
    EXPECT_EQ(ls->notificationList->alpha(), 1);
}

TEST_F(Notifications, LayoutPassesKeepTheAdjunctListAndLaterItemsCollapsed) {
    Ref<CSAdjunctItemView> more[] = {UIView::make<CSAdjunctItemView>(),
                                     UIView::make<CSAdjunctItemView>()};
    for (auto& item : more)
        ls->adjunctStack->addArrangedSubview(item);
    for (int pass = 0; pass < 2; pass++) {
        ls->adjunctList->setHidden(NO);
        ls->layoutAll();
        EXPECT_TRUE(ls->adjunctList->isHidden());
        EXPECT_EQ(zeroHeightPins(ls->adjunctList), 1) << "pinned once, however often asked";
        for (auto& item : more)
            EXPECT_TRUE(collapsed(item));
    }
    EXPECT_EQ(zeroHeightPins(ls->mediaItem), 0) << "the first item stays";
    EXPECT_TRUE(collapsed(ls->platter));
}

TEST_F(Notifications, OnlyDarkModeGivesTheAdjunctListTheLightStyle) {
    for (auto [style, expected] : {std::pair{"darkMode", 1}, {"colorFlow", 0}, {"lightMode", 0}}) {
        styleValue = style;
        auto controller = UIViewController::make<CSNotificationAdjunctListViewController>();
        controller->view();
        EXPECT_EQ(controller->overrideUserInterfaceStyle(), expected) << style;
    }
}
