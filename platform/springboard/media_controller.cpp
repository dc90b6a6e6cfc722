// SpringBoard's media controller: follows the now-playing service, reports its changes to
// itself (where the plug-in listens), refreshes the media controls and carries out commands.
#include "platform/springboard/springboard.h"

namespace {

Ref<SBMediaController>& shared() {
    static auto* controller = new Ref<SBMediaController>();
    return *controller;
}

} // namespace

VEY_CLASS_IMPL(SBMediaController, NSObject::cls(), [](Class k) {
    rt_addMethod(
        k->isa, "sharedInstance",
        +[](id, SEL) -> id { return SBMediaController::sharedInstance(); });
    rt_addMethod(
        k, "setNowPlayingInfo:", +[](id self, SEL, id info) {
            if (auto* mc = cast<SBMediaController>(self))
                mc->setNowPlayingInfo(cast<NSDictionary>(info));
        });
    rt_addMethod(
        k,
        "_mediaRemoteNowPlayingApplicationIsPlayingDidChange:", +[](id self, SEL, id notification) {
            if (auto* mc = cast<SBMediaController>(self))
                mc->nowPlayingApplicationIsPlayingDidChange(notification);
        });
    rt_addMethod(
        k, "changeTrack:eventSource:", +[](id self, SEL, int delta, long source) -> bool {
            auto* mc = cast<SBMediaController>(self);
            return mc && mc->changeTrack(delta, source);
        });
    rt_addMethod(
        k, "togglePlayPauseForEventSource:", +[](id self, SEL, long source) -> bool {
            auto* mc = cast<SBMediaController>(self);
            return mc && mc->togglePlayPauseForEventSource(source);
        });
    rt_addMethod(
        k, "isPlaying", +[](id self, SEL) -> bool {
            auto* mc = cast<SBMediaController>(self);
            return mc && mc->isPlaying();
        });
    rt_addMethod(
        k, "nowPlayingInfo", +[](id self, SEL) -> id {
            auto* mc = cast<SBMediaController>(self);
            return mc ? mc->nowPlayingInfo() : nullptr;
        });
})

SBMediaController* SBMediaController::sharedInstance() {
    Ref<SBMediaController>& controller = shared();
    if (!controller) {
        controller = alloc<SBMediaController>();
        controller->observeService();
    }
    return controller;
}

SBMediaController::~SBMediaController() {
    for (int token : tokens_)
        if (token) notify_cancel(token);
}

void SBMediaController::observeService() {
    tokens_[0] =
        notify_register(std::string(kMRMediaRemoteNowPlayingInfoDidChangeNotification), [this] {
            Ref<NSDictionary> info = MRNowPlayingService::shared().nowPlayingInfo();
            send(this, "setNowPlayingInfo:", static_cast<id>(info.get()));
        });
    tokens_[1] = notify_register(
        std::string(kMRMediaRemoteNowPlayingApplicationIsPlayingDidChangeNotification), [this] {
            Ref<NSDictionary> userInfo = NSDictionary::make();
            userInfo->setObject(NSNumber::withBool(MRNowPlayingService::shared().isPlaying()),
                                kMRMediaRemoteNowPlayingApplicationIsPlayingUserInfoKey);
            send(this, "_mediaRemoteNowPlayingApplicationIsPlayingDidChange:",
                 static_cast<id>(userInfo.get()));
        });
}

void SBMediaController::setNowPlayingInfo(NSDictionary* info) {
    info_ = info;
    // The controls read the service themselves: the argument may be stale or nil.
    for (MRUMediaControlsController* controls : MRUAllMediaControls())
        controls->refreshNowPlaying();
    auto observers = observers_;
    for (auto& observer : observers)
        observer();
}

void SBMediaController::nowPlayingApplicationIsPlayingDidChange(id) {
    for (MRUMediaControlsController* controls : MRUAllMediaControls())
        controls->refreshPlayState();
}

bool SBMediaController::changeTrack(int delta, NSInteger eventSource) {
    bool accepted = MRNowPlayingService::shared().changeTrack(delta);
    commands_.push_back({"changeTrack", delta, eventSource, accepted});
    return accepted;
}

bool SBMediaController::togglePlayPauseForEventSource(NSInteger eventSource) {
    bool accepted = MRNowPlayingService::shared().togglePlayPause();
    commands_.push_back({"togglePlayPause", std::nullopt, eventSource, accepted});
    return accepted;
}

bool SBMediaController::isPlaying() const {
    return MRNowPlayingService::shared().isPlaying();
}

void SBMediaController::addNowPlayingObserver(std::function<void()> observer) {
    observers_.push_back(std::move(observer));
}

void SBSetAudioRoute(MPRouteKind kind) {
    MPSetSystemAudioRoute(kind);
    for (MRUMediaControlsController* controls : MRUAllMediaControls())
        controls->refreshRoute();
}
