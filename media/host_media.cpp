// The thin layer over SBMediaController and MRMediaRemoteGetNowPlayingInfo.
#include "media/host_media.h"

#include "platform/mediaremote/mediaremote.h"

Class hostMediaControllerClass() {
    static Class controller = objc_getClass("SBMediaController");
    return controller;
}

id hostMediaController() {
    Class controller = hostMediaControllerClass();
    if (!respondsToSelector(controller, sel("sharedInstance"))) return nullptr;
    return send<id>(controller, "sharedInstance");
}

void hostChangeTrack(int delta) {
    send<bool>(hostMediaController(), "changeTrack:eventSource:", delta, NSInteger(0));
}

void hostTogglePlayPause() {
    send<bool>(hostMediaController(), "togglePlayPauseForEventSource:", NSInteger(0));
}

bool hostMediaIsPlaying() {
    return send<bool>(hostMediaController(), "isPlaying");
}

void hostRequestNowPlayingInfo(std::function<void(NSDictionary* info)> callback) {
    MRMediaRemoteGetNowPlayingInfo(dispatch_get_main_queue(), std::move(callback));
}

NSObject* nowPlayingValue(NSDictionary* info, std::string_view key) {
    return info ? info->objectForKey(key) : nullptr;
}
