// A set of media controls: its root view's layout, its controller, and the refreshes the
// media controller asks for.
#include "platform/mediaremote/mediaremote.h"

namespace {

std::vector<Weak<MRUMediaControlsController>>& registry() {
    static auto* all = new std::vector<Weak<MRUMediaControlsController>>();
    return *all;
}

bool systemIsAtLeast16() {
    NSString* version = UIDevice::currentDevice()->systemVersion();
    return version && version->intValue() >= 16;
}

id delegateIMP(id self, SEL) {
    auto* controller = dynamic_cast<MRUMediaControlsController*>(self);
    return controller ? controller->delegate() : nullptr;
}

Ref<UIImage> symbol(const char* name) {
    return UIImage::systemImageNamed(name)->imageWithRenderingMode(
        UIImageRenderingModeAlwaysTemplate);
}

} // namespace

VEY_CLASS_IMPL(MRUNowPlayingView, UIView::cls(), [](Class) {})

void MRUNowPlayingView::layoutSubviews() {
    UIView::layoutSubviews();
    double w = bounds().size.width;
    header_->setFrame(CGRectMake(0, 0, w, 80));
    timeControls_->setFrame(CGRectMake(24, 88, w - 48, 30));
    // The older timeline is framed only while it is still here; the newer one is framed
    // wherever it has gone.
    if (legacyTimeControl_ && legacyTimeControl_->superview() == this)
        legacyTimeControl_->setFrame(CGRectMake(24, 88, w - 48, 30));
    transport_->setFrame(CGRectMake(0, 122, w, 44));
    double mid = w / 2;
    back_->setFrame(CGRectMake(mid - 96, 0, 44, 44));
    playPause_->setFrame(CGRectMake(mid - 22, 0, 44, 44));
    forward_->setFrame(CGRectMake(mid + 52, 0, 44, 44));
    // The route label is framed when the route changes (refreshRoute), not here.
}

// ---------------------------------------------------------------------------------------------

Ref<MRUMediaControlsController> MRUMediaControlsController::make(NSInteger context, id delegate) {
    Ref<MRUMediaControlsController> controller;
    if (systemIsAtLeast16())
        controller = UIViewController::make<MRUNowPlayingViewController>();
    else
        controller = UIViewController::make<MediaControlsPanelViewController>();
    controller->context_ = context;
    controller->delegate_ = Weak<NSObject>(delegate);
    controller->view();
    return controller;
}

void MRUMediaControlsController::loadView() {
    Ref<MRUNowPlayingView> root =
        UIView::make<MRUNowPlayingView>(CGRectMake(0, 0, 358, MRUNowPlayingView::kHeight));
    root->header_ = UIView::make<MRUNowPlayingHeaderView>();
    root->timeControls_ = UIView::make<MRUNowPlayingTimeControlsView>();
    if (!systemIsAtLeast16()) root->legacyTimeControl_ = UIView::make<MediaControlsTimeControl>();
    root->transport_ = UIView::make();
    root->back_ = UIButton::buttonWithType<MRUTransportButton>(UIButtonTypeCustom);
    root->playPause_ = UIButton::buttonWithType<MRUTransportButton>(UIButtonTypeCustom);
    root->forward_ = UIButton::buttonWithType<MRUTransportButton>(UIButtonTypeCustom);
    root->back_->setImage(symbol("backward.fill"), UIControlStateNormal);
    root->playPause_->setImage(symbol("play.fill"), UIControlStateNormal);
    root->forward_->setImage(symbol("forward.fill"), UIControlStateNormal);
    root->routeLabel_ = UIView::make<MPRouteLabel>();
    root->routeLabel_->setFont(UIFont::systemFontOfSize(13, UIFontWeightRegular));
    root->routeLabel_->setTextColor(UIColor::colorWithWhite(1, 0.6));
    root->routeLabel_->setTextAlignment(NSTextAlignmentCenter);

    root->header_->setContext(context_);
    root->header_->artworkView()->setContext(context_);
    root->timeControls_->setContext(context_);
    if (root->legacyTimeControl_) root->legacyTimeControl_->setContext(context_);
    root->routeLabel_->setContext(context_);

    root->addSubview(root->header_);
    root->addSubview(root->timeControls_);
    if (root->legacyTimeControl_) root->addSubview(root->legacyTimeControl_);
    root->addSubview(root->transport_);
    for (UIView* button : {root->back_.get(), root->playPause_.get(), root->forward_.get()})
        root->transport_->addSubview(button);
    root->addSubview(root->routeLabel_);
    setView(root);
    registry().push_back(Weak<MRUMediaControlsController>(this));
}

MRUNowPlayingView* MRUMediaControlsController::nowPlayingView() const {
    return cast<MRUNowPlayingView>(viewIfLoaded());
}
MRUNowPlayingHeaderView* MRUMediaControlsController::headerView() const {
    MRUNowPlayingView* root = nowPlayingView();
    return root ? root->header_.get() : nullptr;
}
MRUArtworkView* MRUMediaControlsController::artworkView() const {
    MRUNowPlayingHeaderView* header = headerView();
    return header ? header->artworkView() : nullptr;
}
MRUNowPlayingTimeControlsView* MRUMediaControlsController::timeControlsView() const {
    MRUNowPlayingView* root = nowPlayingView();
    return root ? root->timeControls_.get() : nullptr;
}
MediaControlsTimeControl* MRUMediaControlsController::legacyTimeControl() const {
    MRUNowPlayingView* root = nowPlayingView();
    return root ? root->legacyTimeControl_.get() : nullptr;
}
MPRouteLabel* MRUMediaControlsController::routeLabel() const {
    MRUNowPlayingView* root = nowPlayingView();
    return root ? root->routeLabel_.get() : nullptr;
}

void MRUMediaControlsController::refreshNowPlaying() {
    MRUNowPlayingView* root = nowPlayingView();
    if (!root) return;
    MRNowPlayingService& service = MRNowPlayingService::shared();
    const MRTrack* track = service.currentTrack();
    MRUNowPlayingHeaderView* header = root->header_;
    header->titleLabel()->setText(track && track->title ? *track->title : std::string());
    header->subtitleLabel()->setText(track && track->artist ? *track->artist : std::string());
    header->artworkView()->iconImageView()->setImage(track ? MRNowPlayingApplicationIcon()
                                                           : nullptr);
    root->timeControls_->setTimes(0, track ? track->duration : 0);
    send(header->artworkView(), "setArtworkImage:", static_cast<id>(service.currentArtwork()));
    root->setNeedsLayout();
    header->setNeedsLayout();
    root->timeControls_->setNeedsLayout();
    if (root->legacyTimeControl_) root->legacyTimeControl_->setNeedsLayout();
}

void MRUMediaControlsController::refreshPlayState() {
    MRUNowPlayingView* root = nowPlayingView();
    if (!root) return;
    bool playing = MRNowPlayingService::shared().isPlaying();
    root->playPause_->setImage(symbol(playing ? "pause.fill" : "play.fill"), UIControlStateNormal);
}

void MRUMediaControlsController::refreshRoute() {
    MRUNowPlayingView* root = nowPlayingView();
    if (!root) return;
    root->routeLabel_->setText(MPRouteNameForKind(MPCurrentSystemAudioRouteKind()));
    double w = root->bounds().size.width;
    root->routeLabel_->setFrame(CGRectMake(24, 168, w - 48, 18));
}

VEY_CLASS_IMPL(MRUNowPlayingViewController, UIViewController::cls(), [](Class k) {
    rt_addMethod(k, "delegate", &delegateIMP);
    rt_addMethod(
        k, "context", +[](id self, SEL) -> NSInteger {
            auto* controller = dynamic_cast<MRUMediaControlsController*>(self);
            return controller ? controller->context() : 0;
        });
})

VEY_CLASS_IMPL(MediaControlsPanelViewController, UIViewController::cls(),
               [](Class k) { rt_addMethod(k, "delegate", &delegateIMP); })

VEY_CLASS_IMPL(MRUControlCenterViewController, UIViewController::cls(), [](Class) {})

std::vector<MRUMediaControlsController*> MRUAllMediaControls() {
    auto& all = registry();
    std::erase_if(all, [](const Weak<MRUMediaControlsController>& c) { return !c; });
    std::vector<MRUMediaControlsController*> out;
    for (auto& c : all)
        out.push_back(c.get());
    return out;
}

void MRRegisterHostClasses() {
    MPRegisterHostClasses();
    for (Class c : {MRUArtworkView::cls(), MRUNowPlayingRoutingButton::cls(),
                    MRUTransportButton::cls(), MRUNowPlayingHeaderView::cls(),
                    MRUNowPlayingTimeControlsView::cls(), MediaControlsTimeControl::cls(),
                    MRUNowPlayingView::cls(), MRUNowPlayingViewController::cls(),
                    MediaControlsPanelViewController::cls(), MRUControlCenterViewController::cls()})
        (void)c;
}
