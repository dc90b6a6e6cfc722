// The loaded plug-in's module-level variables, read by their exported names: the shared state
// and the settings, as the dump shows them.
#pragma once

#include "sim/json.h"

#include <vector>

class NSObject;

namespace sim {

enum class VariableKind { Bool, Int32, Int64, Double, String, Object };

struct PluginVariable {
    const char* name;
    VariableKind kind;
};

// In the order of the plug-in's own tables.
const std::vector<PluginVariable>& sharedStateVariables();
const std::vector<PluginVariable>& settingVariables();

// The address of a variable defined in a mapped plug-in, or nullptr when no plug-in is mapped
// or none defines it.
const void* pluginVariable(const char* name);
// Whether a plug-in is mapped.
bool pluginLoaded();

// The variable's value as JSON (null when the variable is missing); objects are converted by
// `object`.
Json variableJson(const PluginVariable& variable, Json (*object)(NSObject*));

} // namespace sim
