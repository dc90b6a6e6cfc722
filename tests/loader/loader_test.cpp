#include "platform/foundation/foundation.h"
#include "platform/loader/loader.h"

#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(Loader, MapsOnlyPluginsWhoseFilterNamesTheBundle) {
    char tmpl[] = "/tmp/vey-loader-XXXXXX";
    std::string root = mkdtemp(tmpl);
    NSSetDeviceRoot(root);
    ASSERT_TRUE(substrateInstallPlugin(VEY_PLUGIN_PATH, "Vey", "com.apple.springboard"));
    ASSERT_TRUE(substrateInstallPlugin(VEY_PLUGIN_PATH, "Other", "com.apple.Preferences"));
    ASSERT_TRUE(substrateInstallPlugin(VEY_PLUGIN_PATH, "Broken", "com.apple.springboard"));
    fs::path folder = fs::path(root) / "Library/MobileSubstrate/DynamicLibraries";
    std::ofstream(folder / "Broken.plist", std::ios::trunc) << "<plist><dict><key>Filter";
    std::ofstream(folder / "NoFilter.dylib") << "not a library";

    auto mapped = substrateLoadPlugins("com.apple.springboard");
    ASSERT_EQ(mapped.size(), 1u);
    EXPECT_EQ(substrateLoadedPlugins(), mapped);
    EXPECT_NE(dlsym(mapped[0], "isIOSVersionAtLeast"), nullptr);
    fs::remove_all(root);
}
