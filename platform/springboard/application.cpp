// The application object and SpringBoard's start.
#include "platform/loader/loader.h"
#include "platform/springboard/springboard.h"

namespace {

struct Host {
    Ref<SpringBoard> application;
    std::unique_ptr<SBLockScreen> lockScreen;
};
Host& host() {
    static auto* h = new Host();
    return *h;
}

} // namespace

VEY_CLASS_IMPL(SpringBoard, UIApplication::cls(), [](Class k) {
    rt_addMethod(
        k, "applicationDidFinishLaunching:", +[](id self, SEL, id application) {
            if (auto* app = cast<SpringBoard>(self))
                app->applicationDidFinishLaunching(application);
        });
})

void SpringBoard::applicationDidFinishLaunching(id) {
    launched_ = true;
    SBMediaController::sharedInstance();
}

void SBRegisterHostClasses() {
    MRRegisterHostClasses();
    for (Class c : {SpringBoard::cls(), CSCoverSheetViewBase::cls(), CSCoverSheetView::cls(),
                    SBFLockScreenDateView::cls(), CSMainPageView::cls(), CSCombinedListView::cls(),
                    CSScrollView::cls(), CSNotificationContainerView::cls(),
                    NCNotificationListCell::cls(), NCNotificationListView::cls(),
                    CSAdjunctItemView::cls(), CSAdjunctListView::cls(), PLPlatterView::cls(),
                    CSActivityItemContentView::cls(), CSMediaControlsViewController::cls(),
                    CSNotificationAdjunctListViewController::cls(), SBUICallToActionLabel::cls(),
                    CSTeachableMomentsContainerView::cls(), SBMediaController::cls()})
        (void)c;
}

SBLockScreen* SBLaunch() {
    Host& h = host();
    if (h.lockScreen) return h.lockScreen.get();
    SBRegisterHostClasses();
    MPRegisterDeviceBundles();
    if (!MRAVOutputContext::sharedSystemAudioContext())
        MPSetSystemAudioRoute(MPCurrentSystemAudioRouteKind());

    substrateLoadPlugins("com.apple.springboard");

    h.application = alloc<SpringBoard>();
    send<id>(h.application.get(), "init");
    UIApplication::setSharedApplication(h.application);
    send(h.application.get(),
         "applicationDidFinishLaunching:", static_cast<id>(h.application.get()));

    h.lockScreen = SBLockScreen::build();
    SBMediaController::sharedInstance()->addNowPlayingObserver([] {
        if (SBLockScreen* ls = SBCurrentLockScreen()) ls->refreshStockPlayer();
    });
    h.lockScreen->show();
    return h.lockScreen.get();
}

SBLockScreen* SBCurrentLockScreen() {
    return host().lockScreen.get();
}
