// Reads the plug-in's variables through the dynamic linker. Each name is looked up in the
// plug-ins the loader mapped, and only a definition inside the plug-in itself counts (a
// library it depends on may export the same name).
#include "sim/plugin_state.h"

#include "platform/runtime/loader.h"
#include "platform/runtime/runtime.h"

#include <cstdint>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <string>

namespace sim {

namespace {
using K = VariableKind;
}

const std::vector<VariableSpec>& sharedStateVariables() {
    static const std::vector<VariableSpec> list = {
        {"coversheetView", K::Object},
        {"isPlayingMusic", K::Bool},
        {"defaultAirplay", K::Bool},
        {"coverName", K::String},
        {"artistName", K::String},
        {"highresImage", K::Object},
        {"blurredImage", K::Object},
        {"bestColors", K::Object},
        {"forcedTheme", K::Bool},
        {"minimized", K::Bool},
        {"hidden", K::Bool},
        {"dismissed", K::Bool},
        {"request", K::Int64},
        {"prevAction", K::Int32},
        {"animating", K::Bool},
        {"skippedTrack", K::Bool},
        {"shouldGlitch", K::Bool},
        {"glitchNo", K::Int32},
        {"prevNotification", K::Int32},
        {"timeRequest", K::Int32},
        {"timeAnimation", K::Bool},
        {"yPosition", K::Double},
        {"timeSlider", K::Object},
        {"newTimeSlider", K::Object},
        {"notificationsViewList", K::Object},
        {"notificationView", K::Object},
        {"defaultPlayerViewParent", K::Object},
        {"originalPlayerView", K::Object},
        {"playingHeader", K::Object},
        {"nowPlayingImage", K::Object},
        {"nowPlayingRoutingButton", K::Object},
        {"playerImage", K::Object},
    };
    return list;
}

const std::vector<VariableSpec>& settingVariables() {
    static const std::vector<VariableSpec> list = {
        {"enabled", K::Bool},
        {"styleValue", K::String},
        {"backgroundArtworkSwitch", K::Bool},
        {"borderEnabled", K::Bool},
        {"borderFrameEnabled", K::Bool},
        {"addBlurSwitch", K::Bool},
        {"backgroundBlurEffect", K::Bool},
        {"blurModeValue", K::String},
        {"blurRadius", K::String},
        {"maxOffsetValue", K::String},
        {"minOffsetValue", K::String},
        {"artworkOffsetValue", K::String},
        {"newArtworkSize", K::String},
        {"glassWidth", K::String},
        {"newCornerRadius", K::String},
        {"dismissTimeout", K::String},
        {"showDeviceNameSwitch", K::Bool},
        {"miniBackgroundSwitch", K::Bool},
        {"maxiBackgroundSwitch", K::Bool},
        {"timelineNumbers", K::Bool},
        {"hideNotificationTweaks", K::Bool},
        {"enableGlitch", K::Bool},
    };
    return list;
}

bool pluginLoaded() {
    return !substrateLoadedPlugins().empty();
}

const void* pluginVariable(const char* name) {
    for (void* handle : substrateLoadedPlugins()) {
        void* symbol = dlsym(handle, name);
        if (!symbol) continue;
        link_map* map = nullptr;
        Dl_info info{};
        if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || !map) continue;
        if (!dladdr(symbol, &info) || !info.dli_fname || !map->l_name) continue;
        if (std::strcmp(info.dli_fname, map->l_name) == 0) return symbol;
    }
    return nullptr;
}

Json variableJson(const VariableSpec& variable, Json (*object)(NSObject*)) {
    const void* address = pluginVariable(variable.name);
    if (!address) return nullptr;
    switch (variable.kind) {
    case K::Bool:
        return *static_cast<const bool*>(address);
    case K::Int32:
        return *static_cast<const std::int32_t*>(address);
    case K::Int64:
        return static_cast<long long>(*static_cast<const std::int64_t*>(address));
    case K::Double:
        return *static_cast<const double*>(address);
    case K::String:
        return *static_cast<const std::string*>(address);
    case K::Object:
        return object(*static_cast<NSObject* const*>(address));
    }
    return nullptr;
}

} // namespace sim
