// The method-hooking loader: maps the plug-ins installed on the device into the host process.
#pragma once

#include <string>
#include <vector>

// Maps (dlopen) every shared object in <device root>/Library/MobileSubstrate/DynamicLibraries/
// whose filter property list (same name, ".plist") names `bundleIdentifier` under
// Filter.Bundles, in name order. Returns the handles. A plug-in that fails to map is reported
// on stderr and skipped.
std::vector<void*> substrateLoadPlugins(const std::string& bundleIdentifier);
// The handles mapped so far, in mapping order.
const std::vector<void*>& substrateLoadedPlugins();

// Installs a plug-in on the device: copies `library` into the plug-in folder under `name`
// and writes its filter for `bundleIdentifier`. Returns false (with a message on stderr) when
// a file cannot be written.
bool substrateInstallPlugin(const std::string& library, const std::string& name,
                            const std::string& bundleIdentifier);
