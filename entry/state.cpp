#include "entry/state.h"

#include "platform/graphics/image.h"
#include "platform/preferences/preferences.h"
#include "platform/uikit/uikit.h"

#define VEY_DEFINE_SETTING(type, name, initial, key, fallback) type name = initial;
#define VEY_DEFINE_VARIABLE(type, name, initial) type name = initial;
VEY_SETTINGS(VEY_DEFINE_SETTING)
VEY_SHARED_STATE(VEY_DEFINE_VARIABLE)

void resetVeyState() {
#define VEY_RESET_SETTING(type, name, initial, key, fallback) name = initial;
#define VEY_RESET_VARIABLE(type, name, initial) name = initial;
    VEY_SETTINGS(VEY_RESET_SETTING)
    VEY_SHARED_STATE(VEY_RESET_VARIABLE)
}

extern "C" bool isIOSVersionAtLeast(std::int64_t major) {
    // Only the major number counts: "16.7.2" and "16" both satisfy 16.
    NSString* text = UIDevice::currentDevice()->systemVersion();
    std::string version = text ? text->str() : std::string();
    std::int64_t found = NSStringIntValue(version.substr(0, version.find('.')));
    return found >= major;
}
