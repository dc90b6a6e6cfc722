// Hiding and bringing back the notifications, and keeping the stock player collapsed.
#include "tests/controls/transport_fixture.h"

using namespace transporttest;

namespace {

class Notifications : public LockScreenTest {
  protected:
    void hideNotifications(bool hide) { send(sheet(), "hideNotifications:", hide); }
};

int zeroHeightPins(UIView* view) {
    int n = 0;
    for (NSLayoutConstraint* c : NSLayoutConstraint::activeConstraints())
        n += c->firstItem() == view && c->firstAttribute() == NSLayoutAttributeHeight &&
             !c->secondItem() && c->constant() == 0;
    return n;
}

void expectNear(CGAffineTransform t, CGAffineTransform e) {
    const double got[] = {t.a, t.b, t.c, t.d, t.tx, t.ty},
                 want[] = {e.a, e.b, e.c, e.d, e.tx, e.ty};
    for (int i = 0; i < 6; i++)
        EXPECT_NEAR(got[i], want[i], 1e-9);
}

bool collapsed(UIView* view) {
    return zeroHeightPins(view) == 1 && view->isHidden() && view->layer()->masksToBounds();
}

} // namespace

TEST_F(Notifications, ASecondHideLeavesTheListButHidesTheStackAgain) {
    launch();
    hideNotifications(YES);
    run(1);
    ls->adjunctStack->setHidden(NO);
    hideNotifications(YES);
    EXPECT_TRUE(ls->notificationList->isHidden());
    run(0.31);
    EXPECT_TRUE(ls->adjunctStack->isHidden());
}

TEST_F(Notifications, ShowRisesEachListInTurnAndLeavesRenamedSubclassesAlone) {
    launch();
    // The container's children: list, stack, a second list, a list under another name.
    Ref<UIView> second = UIView::make<NCNotificationListView>();
    Ref<UIView> renamed = allocAs<UIView>(
        objc_makeClass("VeyTestNotificationListView", NCNotificationListView::cls()));
    send<id>(renamed.get(), "initWithFrame:", CGRectZero);
    for (UIView* extra : {second.get(), renamed.get()})
        ls->notificationContainer->addSubview(extra);
    hideNotifications(YES);
    run(1);
    hideNotifications(NO);
    double shown = now();
    CGAffineTransform below = CGAffineTransformMake(1, 0, 0, 0.9, 0, 0.07 * 568);
    struct Rise {
        UIView* view;
        double delay;
    };
    for (Rise r :
         {Rise{ls->notificationList, 0.35}, Rise{ls->adjunctStack, 0.35}, Rise{second, 0.45}}) {
        EXPECT_FALSE(r.view->isHidden());
        std::int64_t starts = secondsToNanos(shown + r.delay);
        EXPECT_NEAR(r.view->presentationAlpha(starts), 0, 1e-9);
        expectNear(r.view->presentationTransform(starts), below);
        EXPECT_GT(r.view->presentationAlpha(starts + secondsToNanos(0.01)), 0);
        EXPECT_NEAR(r.view->presentationAlpha(starts + secondsToNanos(0.45)), 1, 1e-9);
        expectNear(r.view->presentationTransform(starts + secondsToNanos(0.45)),
                   CGAffineTransformIdentity);
    }
    EXPECT_TRUE(renamed->animations().empty());
    EXPECT_EQ(renamed->alpha(), 1);
}

TEST_F(Notifications, WithoutTheHostViewsOnlyTheStateIsRecorded) {
    launch();
    notificationView = nullptr;
    defaultPlayerViewParent = nullptr;
    originalPlayerView = nullptr;
    hideNotifications(YES);
    send(sheet(), "hidePlayer");
    EXPECT_EQ(prevNotification, 1);
    EXPECT_EQ(ls->notificationList->alpha(), 1);
}

TEST_F(Notifications, EveryAdjunctItemAfterTheFirstCollapsesAtItsLayoutPass) {
    launch();
    Ref<CSAdjunctItemView> more[] = {UIView::make<CSAdjunctItemView>(),
                                     UIView::make<CSAdjunctItemView>()};
    for (auto& item : more)
        ls->adjunctStack->addArrangedSubview(item);
    ls->layoutAll();
    for (auto& item : more)
        EXPECT_TRUE(collapsed(item));
    EXPECT_EQ(zeroHeightPins(ls->mediaItem), 0) << "the first item stays";
    EXPECT_TRUE(collapsed(ls->platter)) << "pinned once, however often it is asked";
}

TEST_F(Notifications, TheAdjunctListIsHiddenWithZeroHeightAtEveryLayoutPass) {
    launch();
    for (int pass = 0; pass < 2; pass++) {
        ls->adjunctList->setHidden(NO);
        ls->layoutAll();
        EXPECT_TRUE(ls->adjunctList->isHidden());
        EXPECT_EQ(zeroHeightPins(ls->adjunctList), 1);
    }
}

TEST_F(Notifications, OnlyDarkModeGivesTheAdjunctListTheLightStyle) {
    launch();
    for (auto [style, expected] : {std::pair{"darkMode", 1}, {"colorFlow", 0}, {"lightMode", 0}}) {
        styleValue = style;
        auto controller = UIViewController::make<CSNotificationAdjunctListViewController>();
        controller->view();
        EXPECT_EQ(controller->overrideUserInterfaceStyle(), expected) << style;
    }
}
