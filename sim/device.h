// The simulated phone's file system: a fresh device root with the plug-in installed the way
// the package manager installs it, the battery glyph bundle and the music app's icon.
#pragma once

#include <string>

namespace sim {

// Makes `root` a fresh device root and makes it the host's. An earlier device root made by the
// simulator is removed first; a folder that exists but was not made by it is refused. Throws
// std::runtime_error with the reason.
void prepareDevice(const std::string& root, const std::string& pluginPath,
                   const std::string& assetsDir);

// The plug-in's install name (it lands as Vey.dylib with its filter Vey.plist) and the bundle
// it is loaded into.
constexpr const char* kPluginName = "Vey";
constexpr const char* kSpringBoardBundle = "com.apple.springboard";
// The settings domain the plug-in reads.
constexpr const char* kSettingsDomain = "com.lantern.veypreferences";

} // namespace sim
