// Scenarios run against the host with the built plug-in: the stock host when the plug-in is
// off, the host's flows reaching the plug-in's hooks when it is on, the dump, settings, artwork
// and outputs, and the errors only a running scenario can find.
#include "common/device.h"
#include "common/hook_rows.h"
#include "host/host_fixture.h"
#include "platform/loader/loader.h"
#include "sim_fixture.h"

#include <algorithm>
#include <csignal>
#include <dlfcn.h>
#include <fstream>
#include <sys/resource.h>

namespace {

// Whether every method the class has of its own is implemented in the host library (the
// plug-in's own classes are registered by it and by this test program alike).
bool isHostClass(Class c) {
    for (Class k : {c, c->isa})
        for (auto& [s, m] : k->methods) {
            Dl_info info{};
            if (!dladdr(reinterpret_cast<void*>(m.imp), &info) || !info.dli_fname ||
                std::string(info.dli_fname).find("libvey-platform") == std::string::npos)
                return false;
        }
    return true;
}

// Every host class's methods and properties, its own and its metaclass's.
std::map<std::string, std::vector<std::string>> classListing() {
    auto listing = runtimeListing();
    std::erase_if(listing, [](auto& entry) { return !isHostClass(objc_getClass(entry.first)); });
    return listing;
}

// No settings at all installs nothing either; that is checked where the plug-in starts.
TEST_F(SimulatorTest, WithEnabledOffTheHostStaysStockAndThePlayerIsMissing) {
    SBRegisterHostClasses();
    auto before = classListing();
    for (auto [cls, selector] : kHookedMethods)
        EXPECT_TRUE(before.count(cls)) << cls;
    // The stock player shows the track.
    run("pref Enabled NO\nlaunch\nplay \"A\" \"B\" artwork-sunset.jpg\nroute airpods\nlayout\n"
        "wait 1\nexpect settings.enabled == NO\nexpect state.coversheetView == nil\n"
        "expect host.stockPlayer.hidden == NO\nexpect host.adjunctStack.frame[3] > 0\n"
        "expect host.routeLabel.text == AirPods\nexpect host.routeLabel.frame[2] > 0\n");
    EXPECT_EQ(reported(), "");
    EXPECT_TRUE(sim::pluginLoaded());
    auto after = classListing();
    for (auto& [name, listing] : before)
        EXPECT_EQ(after[name], listing) << name;

    std::vector<std::string> top;
    for (auto& sub : SBCurrentLockScreen()->coverSheet->subviews())
        top.push_back(NSStringFromClassName(object_getClass(sub)));
    EXPECT_EQ(top, (std::vector<std::string>{"CSMainPageView", "CSTeachableMomentsContainerView"}));

    JsonValue d = dump();
    for (auto& [name, view] : d.raw.at("views").items())
        EXPECT_TRUE(view.is_null()) << name;
    // The player's commands say why they cannot run.
    EXPECT_EQ(runError("swipe down"),
              "t.vey:1: the player is not there (is the plug-in installed and enabled?)");
    EXPECT_EQ(runError("\ntheme"),
              "t.vey:2: theme: the cover sheet has no forceLightTheme (is the plug-in enabled?)");
}

TEST_F(SimulatorTest, WithEnabledOnTheHostsFlowsReachThePlugInsHooks) {
    run("pref Enabled YES\nlaunch\n");
    // Every hooked selector now starts in the plug-in.
    std::string plugin = NSDeviceRoot() + "/Library/MobileSubstrate/DynamicLibraries/Vey.dylib";
    for (auto [cls, selector] : kHookedMethods) {
        IMP imp = class_getMethodImplementation(objc_getClass(cls), sel(selector));
        Dl_info info{};
        ASSERT_NE(dladdr(reinterpret_cast<void*>(imp), &info), 0) << cls << " " << selector;
        EXPECT_EQ(std::string(info.dli_fname), plugin) << cls << " " << selector;
    }

    // Hooks on top of the plug-in's see the host's flows go through them.
    installCountingHooks();
    run("play \"A\" \"B\" artwork-sunset.jpg\npause\nroute airpods\nlayout\nwait 1\n");
    for (const char* entry :
         {"SBMediaController setNowPlayingInfo:",
          "SBMediaController _mediaRemoteNowPlayingApplicationIsPlayingDidChange:",
          "MRUArtworkView setArtworkImage:", "MPRouteLabel setFrame:",
          "CSCoverSheetView layoutSubviews", "CSMainPageView layoutSubviews",
          "MRUNowPlayingHeaderView layoutSubviews",
          "MRUNowPlayingTimeControlsView setFrame:", "CSAdjunctItemView _updateSizeToMimic"})
        EXPECT_GE(callCount(entry), 1) << entry;

    EXPECT_EQ(dump()["state"]["coverName"].string, "A ");
}

TEST_F(SimulatorTest, DumpHasEveryMemberWithItsType) {
    run("pref Enabled YES\nlaunch\nplay \"A\" \"B\" artwork-ocean.png\nwait 1\n");
    JsonValue d = dump();
    using K = sim::VariableKind;
    for (auto [group, variables] : {std::pair{"state", &sim::sharedStateVariables()},
                                    std::pair{"settings", &sim::settingVariables()}}) {
        EXPECT_EQ(d[group].raw.size(), variables->size()) << group;
        for (const sim::PluginVariable& v : *variables) {
            auto raw = d[group].raw.at(v.name);
            EXPECT_TRUE(v.kind == K::Object   ? !raw.is_boolean() && !raw.is_number()
                        : v.kind == K::Bool   ? raw.is_boolean()
                        : v.kind == K::String ? raw.is_string()
                                              : raw.is_number())
                << v.name;
        }
    }

    EXPECT_EQ(d["views"].raw.size(), 21u);
    for (auto& [name, view] : d.raw.at("views").items()) {
        if (view.is_null()) continue;
        for (const char* m : {"class", "hidden", "alpha", "presentation", "superview", "text",
                              "textColor", "tintColor", "image", "cornerRadius", "borderWidth",
                              "borderColor", "fontSize", "fontWeight", "contentMode"})
            EXPECT_TRUE(view.contains(m)) << name << " " << m;
        EXPECT_EQ(view.at("frame").size(), 4u) << name;
        EXPECT_EQ(view.at("transform").size(), 6u) << name;
    }
    EXPECT_TRUE(d["views"]["veyMiniBackgroundView"].raw.contains("outlineColor"));
    EXPECT_FALSE(d["views"]["veyView"].raw.contains("outlineWidth"));
    EXPECT_TRUE(d["host"]["timeControl"].isNull()); // only below 16
}

TEST_F(SimulatorTest, SettingsComeFromPrefAndPrefsAndFollowChanges) {
    std::ofstream(out_ + "/domain.plist")
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
           "<key>Enabled</key><true/><key>style</key><string>lightMode</string>"
           "<key>artworkSize</key><integer>200</integer></dict></plist>\n";
    std::ofstream(out_ + "/broken.plist") << "<plist><dict><key>style</key>";
    // After launch a change reaches the running plug-in; a damaged file leaves its settings
    // alone, reported once.
    run("prefs domain.plist\npref CornerRadius 30\nlaunch\nexpect settings.enabled == YES\n"
        "expect settings.styleValue == lightMode\nexpect settings.newArtworkSize == 200\n"
        "expect settings.newCornerRadius == 30\npref style darkMode\n"
        "expect settings.styleValue == darkMode\nprefs broken.plist\nprefs broken.plist\n"
        "expect settings.styleValue == darkMode\nexpect settings.enabled == YES\n",
        out_);
    EXPECT_EQ(reported(), "vey-sim: the settings file OUT/device/Library/Preferences/"
                          "com.lantern.veypreferences.plist is not a property list; the plug-in "
                          "keeps its last settings\n");
}

TEST_F(SimulatorTest, TapsReachOnlyThePlayersControls) {
    run("pref Enabled YES\nlaunch\n");
    EXPECT_EQ(runError("tap veyView"), "t.vey:1: 'veyView' is not a control and cannot be tapped");
    for (const char* other : {"noSuchView", "init", "coverSheet", "layoutSubviews"}) {
        std::string message = runError(std::string("tap ") + other);
        EXPECT_TRUE(message.starts_with(std::string("t.vey:1: '") + other +
                                        "' is not one of the player's views (veyView, "))
            << message;
        EXPECT_NE(message.find("veySkipButton"), std::string::npos) << message;
    }
}

TEST_F(SimulatorTest, TracksOfOneFileShareItsBytesWithinTheArtworkBudget) {
    artworkBudget_ = 60 << 10; // the three demo pictures are 63 KiB together
    std::ofstream(out_ + "/broken.jpg") << "\xff\xd8\xff this is not a picture";
    std::string art = assets() + "/artwork-";
    run("pref Enabled YES\nlaunch\nplay \"A\" \"B\" " + out_ +
        "/broken.jpg\nwait 1\n"
        "expect host.nowPlaying.hasArtwork == YES\nexpect state.highresImage == nil\n"
        "expect state.coverName == \"A \"\n"); // handed over as it is, and the track shows
    EXPECT_EQ(reported(), "");

    std::string plays;
    for (int i = 0; i < 10; i++)
        plays += "play \"T\" - " + art + (i % 2 ? "sunset.jpg" : "forest.jpg") + "\n";
    run(plays + "queue - - " + art + "sunset.jpg\n");
    const auto& queue = MRNowPlayingService::shared().queue();
    ASSERT_EQ(queue.size(), 12u);
    EXPECT_EQ(queue[1].artworkData.get(), queue[9].artworkData.get());
    EXPECT_EQ(queue[2].artworkData.get(), queue[11].artworkData.get());
    EXPECT_NE(queue[1].artworkData.get(), queue[2].artworkData.get());
    EXPECT_EQ(runError("wait 1\nqueue - - " + art + "ocean.png"),
              "t.vey:2: the scenario's artwork passes 60 KiB in all (each file counts once)");
}

TEST_F(SimulatorTest, OutputsStayInTheFolderAndAFailedWriteLeavesNothing) {
    run("wait 0.5\ndump nested/early.json\nlaunch\ndump late.json\n");
    const std::vector<std::string> written = {out_ + "/nested/early.json", out_ + "/late.json"};
    EXPECT_EQ(simulator().written(), written);
    JsonValue early = readJsonFile(written[0]);
    EXPECT_FALSE(early["launched"].boolean);
    EXPECT_DOUBLE_EQ(early["time"].number, 0.5);

    std::filesystem::create_directory_symlink(out_ + "/device", out_ + "/link");
    EXPECT_EQ(runError("dump link/Vey.plist"),
              "t.vey:1: cannot write OUT/link/Vey.plist: OUT/link "
              "is a link, and outputs stay inside the output folder");

    // A full disk, as a file-size limit: the write fails with the system's reason.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small{4096, saved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
    std::string full = runError("snapshot full.png\ndump full.json");
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(full, "t.vey:1: cannot write OUT/full.png: File too large");
    std::vector<std::string> left;
    for (auto& entry : std::filesystem::directory_iterator(out_))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"device", "late.json", "link", "nested"}));
    EXPECT_EQ(simulator().written(), written);
}

} // namespace
