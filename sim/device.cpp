#include "sim/device.h"

#include "platform/foundation/foundation.h"
#include "platform/loader/loader.h"
#include "platform/mediaplayer/mediaplayer.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace sim {

namespace {

// Marks a device root as the simulator's own, so that only those are ever removed.
constexpr const char* kMarker = ".vey-device";

void copyInto(const fs::path& from, const fs::path& folder, const std::string& name) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        throw std::runtime_error("cannot create " + folder.string() + ": " + error.message());
    fs::copy_file(from, folder / name, fs::copy_options::overwrite_existing, error);
    if (error) throw std::runtime_error("cannot copy " + from.string() + ": " + error.message());
}

} // namespace

void prepareDevice(const std::string& root, const std::string& pluginPath,
                   const std::string& assetsDir) {
    std::error_code error;
    fs::path rootPath(root);
    if (fs::exists(rootPath, error)) {
        if (!fs::exists(rootPath / kMarker, error))
            throw std::runtime_error(root + " exists and is not a device folder made by vey-sim");
        fs::remove_all(rootPath, error);
        if (error) throw std::runtime_error("cannot remove " + root + ": " + error.message());
    }
    fs::create_directories(rootPath, error);
    if (error) throw std::runtime_error("cannot create " + root + ": " + error.message());
    std::ofstream(rootPath / kMarker) << "made by vey-sim\n";
    NSSetDeviceRoot(fs::absolute(rootPath).lexically_normal().string());

    if (!fs::is_regular_file(pluginPath, error))
        throw std::runtime_error("the plug-in is not built: " + pluginPath);
    if (!substrateInstallPlugin(pluginPath, kPluginName, kSpringBoardBundle))
        throw std::runtime_error("cannot install the plug-in into " + root);

    fs::path glyphs = fs::path(assetsDir) / "glyphs";
    fs::path bundle = MPGlyphBundlePath(kBatteryCenterUIBundleIdentifier);
    for (auto& entry : fs::directory_iterator(glyphs, error))
        if (entry.is_regular_file() && entry.path().extension() == ".png")
            copyInto(entry.path(), bundle, entry.path().filename().string());
    fs::path icon = fs::path(assetsDir) / "appicon.png";
    if (fs::is_regular_file(icon, error))
        copyInto(icon, fs::path(NSDeviceRoot()) / "Applications/Music.app", "AppIcon.png");
}

} // namespace sim
