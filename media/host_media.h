// The host's media services as the player uses them: the media controller, reached through its
// shared instance, and the now-playing information of MediaRemote.
#pragma once

#include "platform/foundation/foundation.h"

#include <functional>
#include <string_view>

// SBMediaController, looked up by name once and kept (nil when the host lacks it).
Class hostMediaControllerClass();
// Its sharedInstance, or nil.
id hostMediaController();

// Commands to the media controller, with event source 0; each does nothing without one.
void hostChangeTrack(int delta);
void hostTogglePlayPause();
bool hostMediaIsPlaying();

// Asks for the now-playing info; `callback` runs once, later, on the main queue, with the info
// or nil when nothing plays.
void hostRequestNowPlayingInfo(std::function<void(NSDictionary* info)> callback);

// The value of one key of the info, nil when the info or the key is missing.
NSObject* nowPlayingValue(NSDictionary* info, std::string_view key);
