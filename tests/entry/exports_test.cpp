#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <set>
#include <string>

// The built library exports the version test and the module-level variables under their own,
// unmangled names, as the host's tools see them.
TEST(Exports, VersionTestAndVariablesAreUnmangled) {
    std::string command = std::string("nm -D --defined-only ") + VEY_PLUGIN_PATH;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> names;
    std::array<char, 512> line{};
    while (fgets(line.data(), line.size(), pipe)) {
        std::string s(line.data());
        auto space = s.find_last_of(' ');
        names.insert(s.substr(space + 1, s.size() - space - 2));
    }
    pclose(pipe);
    for (const char* name :
         {"isIOSVersionAtLeast", "enabled", "styleValue", "newArtworkSize", "enableGlitch",
          "coversheetView", "coverName", "artistName", "highresImage", "bestColors", "request",
          "prevAction", "yPosition", "defaultPlayerViewParent", "playerImage", "preferences"})
        EXPECT_TRUE(names.count(name)) << name;
}
