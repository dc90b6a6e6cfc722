#include "common/device.h"
#include "entry/hooks.h"
#include "entry/properties.h"
#include "entry/state.h"
#include "platform/springboard/springboard.h"

namespace {

int nilInfoUpdates = 0;
IMP hostSetNowPlayingInfo = nullptr;
void countingSetNowPlayingInfo(id self, SEL cmd, id info) {
    if (!info) nilInfoUpdates++;
    callIMP(hostSetNowPlayingInfo, self, cmd, info);
}

// The host launched with the plug-in enabled, as the loader would have it.
struct Launched : ::testing::Test {
    void SetUp() override {
        device.write({{"Enabled", true}});
        SBRegisterHostClasses();
        MSHookMessageEx(objc_getClass("SBMediaController"), sel("setNowPlayingInfo:"),
                        reinterpret_cast<IMP>(&countingSetNowPlayingInfo), &hostSetNowPlayingInfo);
        initialiseVey();
        ls = SBLaunch();
        MainQueue::shared().runFor(1);
    }
    TestDevice device;
    SBLockScreen* ls = nullptr;
};

} // namespace

TEST_F(Launched, RecordsTheHostViewsThePlayerNeeds) {
    ASSERT_NE(ls, nullptr);
    EXPECT_EQ(coversheetView.get(), ls->coverSheet.get());
    EXPECT_EQ(notificationsViewList.get(), ls->pageView.get());
    EXPECT_EQ(notificationView.get(), ls->notificationContainer.get());
    EXPECT_EQ(defaultPlayerViewParent.get(), ls->adjunctStack.get());
    ASSERT_NE(originalPlayerView, nullptr);
    EXPECT_EQ(originalPlayerView.get(), ls->activityContent->superview()->superview());
    EXPECT_EQ(nilInfoUpdates, 1) << "one now-playing update with nil once launching finished";
    Ref<CSCoverSheetView> second = UIView::make<CSCoverSheetView>(CGRectMake(0, 0, 390, 844));
    EXPECT_EQ(coversheetView.get(), second.get()) << "the latest cover sheet is recorded";
}

TEST_F(Launched, TheLastPlainStackViewWinsAndSubclassesDoNotCount) {
    Ref<UIStackView> later = UIView::make<UIStackView>(CGRectZero);
    ls->notificationContainer->addSubview(later);
    Class subclass = objc_makeClass("VeyTestStackView", UIStackView::cls());
    Ref<UIStackView> derived = allocAs<UIStackView>(subclass);
    send<id>(derived.get(), "initWithFrame:", CGRectZero);
    ls->notificationContainer->addSubview(derived);
    ls->layoutAll();
    EXPECT_EQ(defaultPlayerViewParent.get(), later.get());
}

TEST_F(Launched, AMainPageWithoutQualifyingViewsChangesNothing) {
    Ref<CSMainPageView> empty = UIView::make<CSMainPageView>(CGRectMake(0, 0, 10, 10));
    Ref<CSCombinedListView> shallow = UIView::make<CSCombinedListView>(CGRectZero);
    empty->addSubview(UIView::make(CGRectZero));
    empty->addSubview(shallow); // a page view with no second subview is skipped
    send(empty.get(), "layoutSubviews");
    EXPECT_EQ(notificationsViewList.get(), ls->pageView.get());
    EXPECT_EQ(notificationView.get(), ls->notificationContainer.get());
}

// The scenarios show the label hidden by layout while the player shows, and back once it hides.
TEST_F(Launched, CallToActionFollowsThePlayerInEveryHook) {
    SBUICallToActionLabel* label = ls->teachableMoments->callToActionLabel();
    Ref<UIView> player = UIView::make(CGRectZero);
    setAttached(coversheetView, prop::veyView, player);
    send(label, "_updateLabelTextWithLanguage:", static_cast<id>(nullptr));
    EXPECT_TRUE(label->isHidden());
    player->setHidden(YES);
    send(label, "didMoveToWindow");
    EXPECT_FALSE(label->isHidden());
    setAttached(coversheetView, prop::veyView, nullptr);
    send(ls->teachableMoments.get(), "_layoutCallToActionLabel");
    EXPECT_TRUE(label->isHidden()) << "without a player the player counts as shown";
}
