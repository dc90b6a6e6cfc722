// The plug-in's module-level state: every setting, flag, counter, saved host reference and
// shared image, under the names all subsystems use. There is no player object.
#pragma once

#include "entry/state_table.h"
#include "platform/foundation/foundation.h"

#include <cstdint>
#include <string>

class HBPreferences;
class UIImage;
class UIView;
class UIImageView;
class UIStackView;

// C linkage keeps the exported names exactly as written (no C++ mangling).
#define VEY_DECLARE_SETTING(type, name, initial, key, fallback) extern "C" type name;
#define VEY_DECLARE_VARIABLE(type, name, initial) extern "C" type name;
VEY_SETTINGS(VEY_DECLARE_SETTING)
VEY_SHARED_STATE(VEY_DECLARE_VARIABLE)
#undef VEY_DECLARE_SETTING
#undef VEY_DECLARE_VARIABLE

// `prevAction`: the last transport button pressed on the player, and 2 once the track change it
// caused has been animated.
namespace action {
constexpr int kRewind = 1;
constexpr int kSkip = -1;
constexpr int kPlayPause = 0;
constexpr int kTrackChangeAnimated = 2;
} // namespace action

// The media controls' context number of the lock screen; the Control Center's are lower.
constexpr std::int64_t kLockScreenContext = 2;

// "blurMode": the panel's material, the background's tint and the colour sort follow it.
enum BlurMode : int {
    kBlurModeLight = 0, // light material, dark tint, colours in cluster order
    kBlurModeDark = 1,  // dark material, light tint
    kBlurModeNone = 2,  // no material, no tint
};

// Exported version test: the device's major system version is at least `major`.
extern "C" bool isIOSVersionAtLeast(std::int64_t major);

// Every variable back to its initial value (tests).
void resetVeyState();
