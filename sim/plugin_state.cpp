// Reads the plug-in's variables through the dynamic linker. Each name is looked up in the
// plug-ins the loader mapped, and only a definition inside the plug-in itself counts (a
// library it depends on may export the same name).
#include "sim/plugin_state.h"

#include "entry/state_table.h"

#include "platform/loader/loader.h"
#include "platform/runtime/runtime.h"

#include <cstdint>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <string>
#include <type_traits>

// The plug-in's variable lists are read as names and kinds only.
class HBPreferences;
class UIImage;
class UIView;
class UIStackView;
class UIImageView;
class NSArray;

namespace sim {

namespace {

template <class T> constexpr VariableKind kindOf() {
    if constexpr (std::is_same_v<T, bool>)
        return VariableKind::Bool;
    else if constexpr (std::is_same_v<T, int>)
        return VariableKind::Int32;
    else if constexpr (std::is_same_v<T, std::int64_t>)
        return VariableKind::Int64;
    else if constexpr (std::is_same_v<T, double>)
        return VariableKind::Double;
    else if constexpr (std::is_same_v<T, std::string>)
        return VariableKind::String;
    else
        return VariableKind::Object;
}

} // namespace

const std::vector<PluginVariable>& sharedStateVariables() {
    static const std::vector<PluginVariable> list = [] {
        std::vector<PluginVariable> all = {
#define VEY_SIM_VARIABLE(type, name, initial) {#name, kindOf<type>()},
            VEY_SHARED_STATE(VEY_SIM_VARIABLE)
#undef VEY_SIM_VARIABLE
        };
        // The settings store is the plug-in's own business, not player state.
        std::erase_if(all,
                      [](const PluginVariable& v) { return std::string(v.name) == "preferences"; });
        return all;
    }();
    return list;
}

const std::vector<PluginVariable>& settingVariables() {
    static const std::vector<PluginVariable> list = {
#define VEY_SIM_SETTING(type, name, initial, key, fallback) {#name, kindOf<type>()},
        VEY_SETTINGS(VEY_SIM_SETTING)
#undef VEY_SIM_SETTING
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

Json variableJson(const PluginVariable& variable, Json (*object)(NSObject*)) {
    const void* address = pluginVariable(variable.name);
    if (!address) return nullptr;
    switch (variable.kind) {
    case VariableKind::Bool:
        return *static_cast<const bool*>(address);
    case VariableKind::Int32:
        return *static_cast<const std::int32_t*>(address);
    case VariableKind::Int64:
        return static_cast<long long>(*static_cast<const std::int64_t*>(address));
    case VariableKind::Double:
        return *static_cast<const double*>(address);
    case VariableKind::String:
        return *static_cast<const std::string*>(address);
    case VariableKind::Object:
        return object(*static_cast<NSObject* const*>(address));
    }
    return nullptr;
}

} // namespace sim
