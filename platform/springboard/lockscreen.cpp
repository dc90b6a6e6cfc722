// Building, showing and laying out the lock screen.
#include "platform/springboard/springboard.h"

namespace {

void markTree(UIView* view) {
    view->setNeedsLayout();
    for (auto& sub : view->subviews())
        markTree(sub);
}

Ref<UIView> fill(UIView* content, CGRect frame) {
    Ref<UIView> wrapper = UIView::make(frame);
    content->setFrame(wrapper->bounds());
    content->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                 UIViewAutoresizingFlexibleHeight);
    wrapper->addSubview(content);
    return wrapper;
}

} // namespace

std::unique_ptr<SBLockScreen> SBLockScreen::build() {
    auto ls = std::make_unique<SBLockScreen>();
    CGRect screen = UIScreen::mainScreen()->bounds();
    ls->window = UIView::make<UIWindow>(screen);
    ls->coverSheet = UIView::make<CSCoverSheetView>(screen);
    ls->coverSheet->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                        UIViewAutoresizingFlexibleHeight);

    ls->mainPage = UIView::make<CSMainPageView>(screen);
    ls->dateView = UIView::make<SBFLockScreenDateView>();
    ls->pageView = UIView::make<CSCombinedListView>();
    ls->scrollView = UIView::make<CSScrollView>();
    ls->notificationContainer = UIView::make<CSNotificationContainerView>();

    ls->notificationList = UIView::make<NCNotificationListView>();
    ls->notificationList->addSubview(NCNotificationListCell::make("Messages", "Dinner at eight?"));
    ls->notificationList->addSubview(
        NCNotificationListCell::make("Calendar", "Stand-up in 10 minutes"));
    ls->notificationList->addSubview(
        NCNotificationListCell::make("Weather", "Rain expected this afternoon"));

    // The stock player: adjunct item > platter > content > activity item > media controls.
    ls->adjunctListController = UIViewController::make<CSNotificationAdjunctListViewController>();
    ls->adjunctStack = ls->adjunctListController->stackView();
    if (!ls->adjunctStack) ls->adjunctStack = cast<UIStackView>(ls->adjunctListController->view());
    ls->mediaControls = UIViewController::make<CSMediaControlsViewController>();
    CGRect controlsFrame = CGRectMake(0, 0, screen.size.width - 48, MRUNowPlayingView::kHeight);
    ls->activityContent = UIView::make<CSActivityItemContentView>(controlsFrame);
    UIView* controlsView = ls->mediaControls->view();
    controlsView->setFrame(controlsFrame);
    ls->activityContent->addSubview(controlsView);
    ls->platter = UIView::make<PLPlatterView>();
    ls->platter->setBackgroundColor(UIColor::colorWithWhite(0.2, 0.6));
    ls->platter->layer()->setCornerRadius(24);
    ls->platter->layer()->setCornerCurve(kCACornerCurveContinuous);
    ls->platter->addSubview(fill(ls->activityContent, controlsFrame));
    ls->mediaItem = UIView::make<CSAdjunctItemView>(CGRectMake(0, 0, screen.size.width - 32, 0));
    ls->mediaItem->setContentView(ls->platter);
    ls->mediaItem->setHidden(true);
    ls->platter->setHidden(true);
    if (ls->adjunctStack) ls->adjunctStack->addArrangedSubview(ls->mediaItem);

    ls->notificationContainer->addSubview(ls->notificationList);
    if (ls->adjunctStack) ls->notificationContainer->addSubview(ls->adjunctStack);
    ls->scrollView->addSubview(ls->notificationContainer);
    ls->adjunctList = UIView::make<CSAdjunctListView>();
    ls->pageView->addSubview(UIView::make());
    ls->pageView->addSubview(ls->scrollView);
    ls->pageView->addSubview(ls->adjunctList);
    ls->mainPage->addSubview(ls->dateView);
    ls->mainPage->addSubview(ls->pageView);
    ls->teachableMoments = UIView::make<CSTeachableMomentsContainerView>();
    ls->coverSheet->addSubview(ls->mainPage);
    ls->coverSheet->addSubview(ls->teachableMoments);

    // The Control Center's controls live in a window of their own that is not shown.
    ls->controlCenterWindow = UIView::make<UIWindow>(screen);
    ls->controlCenterWindow->setHidden(true);
    ls->controlCenter = UIViewController::make<MRUControlCenterViewController>();
    ls->controlCenterControls = MRUMediaControlsController::make(1, ls->controlCenter);
    ls->controlCenter->addChildViewController(ls->controlCenterControls);
    ls->controlCenterWindow->setRootViewController(ls->controlCenter);
    UIView* ccView = ls->controlCenterControls->view();
    ccView->setFrame(CGRectMake(16, 120, screen.size.width - 32, MRUNowPlayingView::kHeight));
    ls->controlCenter->view()->addSubview(ccView);
    return ls;
}

void SBLockScreen::show() {
    window->addSubview(coverSheet);
    window->makeKeyAndVisible();
    for (MRUMediaControlsController* controls : MRUAllMediaControls()) {
        controls->refreshNowPlaying();
        controls->refreshPlayState();
    }
    refreshStockPlayer();
    window->layoutIfNeeded();
    controlCenterWindow->layoutIfNeeded();
    SBSetAudioRoute(MPCurrentSystemAudioRouteKind());
}

void SBLockScreen::refreshStockPlayer() {
    bool loaded = MRNowPlayingService::shared().hasItem();
    mediaItem->setHidden(!loaded);
    platter->setHidden(!loaded);
    send(mediaItem.get(), "_updateSizeToMimic");
    if (adjunctStack) adjunctStack->setNeedsLayout();
    notificationContainer->setNeedsLayout();
}

void SBLockScreen::layoutAll() {
    markTree(window);
    window->layoutIfNeeded();
}

MRUMediaControlsController* SBLockScreen::lockScreenControls() const {
    return mediaControls ? mediaControls->controls() : nullptr;
}
