// Scenarios run against the host with the built plug-in: the stock host when the plug-in is
// off, the host's flows reaching the plug-in's hooks when it is on, every command's effect,
// and the errors only a running scenario can find.
#include "common/hook_rows.h"
#include "host/host_fixture.h"
#include "platform/loader/loader.h"
#include "sim_fixture.h"

#include <dlfcn.h>
#include <fstream>

namespace {

using Listing = std::vector<std::string>;

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
std::map<std::string, Listing> classListing() {
    std::map<std::string, Listing> out;
    for (Class c : objc_classList()) {
        if (!isHostClass(c)) continue;
        Listing l = class_methodListing(c);
        for (auto& m : class_methodListing(c->isa))
            l.push_back(m);
        for (auto& p : class_propertyListing(c))
            l.push_back(p);
        out[c->name] = l;
    }
    return out;
}

void expectStockHost(SimulatorTest& test, const std::string& settings) {
    SBRegisterHostClasses();
    auto before = classListing();
    test.run(settings +
             "launch\nplay \"A\" \"B\" artwork-sunset.jpg\nroute airpods\nlayout\nwait 1\n");
    EXPECT_TRUE(sim::pluginLoaded());
    auto after = classListing();
    for (const char* hooked : {"CSCoverSheetView", "SBMediaController", "MPAVRoute",
                               "MRUArtworkView", "SpringBoard", "UIView"})
        EXPECT_TRUE(before.count(hooked)) << hooked;
    for (auto& [name, listing] : before)
        EXPECT_EQ(after[name], listing) << name;

    SBLockScreen* ls = SBCurrentLockScreen();
    std::vector<std::string> top;
    for (auto& sub : ls->coverSheet->subviews())
        top.push_back(NSStringFromClassName(object_getClass(sub)));
    EXPECT_EQ(top, (std::vector<std::string>{"CSMainPageView", "CSTeachableMomentsContainerView"}));

    JsonValue d = test.dump();
    EXPECT_FALSE(d["settings"]["enabled"].boolean);
    EXPECT_TRUE(d["state"]["coversheetView"].isNull());
    for (auto& [name, view] : d["views"].members)
        EXPECT_TRUE(view.isNull()) << name;
    // The stock player shows the track.
    EXPECT_FALSE(d["host"]["stockPlayer"]["hidden"].boolean);
    EXPECT_GT(d["host"]["adjunctStack"]["frame"][3].number, 0);
    EXPECT_EQ(d["host"]["routeLabel"]["text"].string, "AirPods");
    EXPECT_GT(d["host"]["routeLabel"]["frame"][2].number, 0);
}

TEST_F(SimulatorTest, WithoutSettingsTheHostStaysStock) {
    expectStockHost(*this, "");
}

TEST_F(SimulatorTest, WithEnabledOffTheHostStaysStock) {
    expectStockHost(*this, "pref Enabled NO\n");
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

    JsonValue state = dump()["state"];
    EXPECT_EQ(state["coversheetView"].string, "CSCoverSheetView");
    EXPECT_EQ(state["notificationView"].string, "CSNotificationContainerView");
    EXPECT_EQ(state["defaultPlayerViewParent"].string, "UIStackView");
    EXPECT_EQ(state["originalPlayerView"].string, "PLPlatterView");
    EXPECT_EQ(state["coverName"].string, "A ");
    EXPECT_EQ(state["artistName"].string, "B ");
}

TEST_F(SimulatorTest, DumpHasEveryMemberWithItsType) {
    run("pref Enabled YES\nlaunch\nplay \"A\" \"B\" artwork-ocean.png\nwait 1\n");
    JsonValue d = dump();
    using T = JsonValue::Type;
    EXPECT_EQ(d["time"].type, T::Number);
    EXPECT_DOUBLE_EQ(d["time"].number, 1);

    JsonValue state = d["state"];
    EXPECT_EQ(state.members.size(), sim::sharedStateVariables().size());
    for (const sim::VariableSpec& v : sim::sharedStateVariables()) {
        const JsonValue& value = state[v.name];
        switch (v.kind) {
        case sim::VariableKind::Bool:
            EXPECT_EQ(value.type, T::Bool) << v.name;
            break;
        case sim::VariableKind::String:
            EXPECT_EQ(value.type, T::String) << v.name;
            break;
        case sim::VariableKind::Object:
            EXPECT_TRUE(value.isNull() || value.type == T::String || value.type == T::Object ||
                        value.type == T::Array)
                << v.name;
            break;
        default:
            EXPECT_EQ(value.type, T::Number) << v.name;
        }
    }
    EXPECT_EQ(state["prevNotification"].type, T::Number);
    EXPECT_EQ(state["highresImage"]["width"].number, 400);
    JsonValue settings = d["settings"];
    ASSERT_EQ(settings.members.size(), 22u);
    for (const sim::VariableSpec& v : sim::settingVariables())
        EXPECT_EQ(settings[v.name].type, v.kind == sim::VariableKind::Bool ? T::Bool : T::String)
            << v.name;
    EXPECT_EQ(settings["newArtworkSize"].string, "250");

    const char* viewMembers[] = {"class",       "frame",     "hidden",       "alpha",
                                 "transform",   "superview", "text",         "textColor",
                                 "tintColor",   "image",     "cornerRadius", "borderWidth",
                                 "borderColor", "fontSize",  "fontWeight",   "contentMode"};
    auto checkView = [&](const std::string& name, const JsonValue& view) {
        SCOPED_TRACE(name);
        if (view.isNull()) return;
        for (const char* m : viewMembers)
            EXPECT_TRUE(view.has(m)) << m;
        EXPECT_EQ(view["class"].type, T::String);
        EXPECT_EQ(view["frame"].items.size(), 4u);
        EXPECT_EQ(view["transform"].items.size(), 6u);
        EXPECT_EQ(view["tintColor"].items.size(), 4u);
        EXPECT_EQ(view["hidden"].type, T::Bool);
        EXPECT_EQ(view["alpha"].type, T::Number);
    };
    JsonValue views = d["views"];
    EXPECT_EQ(views.members.size(), 21u);
    for (auto& [name, view] : views.members)
        checkView(name, view);
    EXPECT_EQ(views["veySongLabel"]["text"].string, "A ");
    EXPECT_EQ(views["veySongLabel"]["superview"].string, "veyView");
    EXPECT_EQ(views["veyView"]["superview"].string, "CSCoverSheetView");
    EXPECT_TRUE(views["veyMiniBackgroundView"].has("outlineWidth"));
    EXPECT_TRUE(views["veyMiniBackgroundView"].has("outlineColor"));
    EXPECT_FALSE(views["veyView"].has("outlineWidth"));

    JsonValue host = d["host"];
    EXPECT_EQ(host["mediaCommands"].type, T::Array);
    for (const char* name : {"notificationList", "adjunctStack", "stockPlayer", "callToActionLabel",
                             "newTimeControl", "routeLabel"}) {
        EXPECT_EQ(host[name].type, T::Object) << name;
        checkView(name, host[name]);
    }
    EXPECT_TRUE(host["timeControl"].isNull()); // only below 16
    EXPECT_EQ(host["callToActionLabel"]["text"].string, "Swipe up to open");
}

TEST_F(SimulatorTest, CommandsChangeTheDeviceMediaAndRoute) {
    run("device 320x568 scale 2 version 15.2 name \"Tester\"\nlaunch\n"
        "play \"One\" - \nqueue - \"Two\"\npause\n");
    JsonValue d = dump();
    EXPECT_EQ(d["device"]["width"].number, 320);
    EXPECT_EQ(d["device"]["version"].string, "15.2");
    EXPECT_EQ(UIScreen::mainScreen()->bounds().size, CGSizeMake(320, 568));
    EXPECT_EQ(UIDevice::currentDevice()->name()->str(), "Tester");
    EXPECT_EQ(d["host"]["timeControl"]["class"].string, "MediaControlsTimeControl");
    EXPECT_EQ(d["host"]["nowPlaying"]["title"].string, "One");
    EXPECT_TRUE(d["host"]["nowPlaying"]["artist"].isNull());
    EXPECT_EQ(d["host"]["nowPlaying"]["count"].number, 2);
    EXPECT_FALSE(d["host"]["playing"].boolean);

    run("resume\nroute headphones\nwait 2.5\n");
    d = dump();
    EXPECT_TRUE(d["host"]["playing"].boolean);
    EXPECT_EQ(d["host"]["route"].string, "headphones");
    EXPECT_EQ(d["host"]["routeLabel"]["text"].string, "Headphones");
    EXPECT_DOUBLE_EQ(d["time"].number, 2.5);

    run("stop\n");
    d = dump();
    EXPECT_TRUE(d["host"]["nowPlaying"].isNull());
    EXPECT_TRUE(d["host"]["stockPlayer"]["hidden"].boolean);
}

TEST_F(SimulatorTest, SettingsComeFromPrefAndPrefsAndFollowChanges) {
    std::ofstream(out_ + "/domain.plist")
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
           "<key>Enabled</key><true/><key>style</key><string>lightMode</string>"
           "<key>artworkSize</key><integer>200</integer></dict></plist>\n";
    run("prefs domain.plist\npref CornerRadius 30\nlaunch\n", out_);
    JsonValue s = dump()["settings"];
    EXPECT_TRUE(s["enabled"].boolean);
    EXPECT_EQ(s["styleValue"].string, "lightMode");
    EXPECT_EQ(s["newArtworkSize"].string, "200");
    EXPECT_EQ(s["newCornerRadius"].string, "30");
    // After launch a change reaches the running plug-in.
    run("pref style darkMode\n");
    EXPECT_EQ(dump()["settings"]["styleValue"].string, "darkMode");
}

TEST_F(SimulatorTest, PlayerCommandsNeedThePlayer) {
    run("launch\n");
    EXPECT_EQ(runError("\ntap veySkipButton"),
              "t.vey:2: the cover sheet has no property 'veySkipButton' (is the plug-in "
              "installed and enabled?)");
    EXPECT_EQ(runError("swipe down"), "t.vey:1: the cover sheet has no property 'veyView' (is "
                                      "the plug-in installed and enabled?)");
    EXPECT_EQ(runError("theme"),
              "t.vey:1: theme: the cover sheet has no forceLightTheme (is the plug-in enabled?)");
}

TEST_F(SimulatorTest, TapsReachOnlyControls) {
    run("pref Enabled YES\nlaunch\n");
    EXPECT_EQ(runError("tap veyView"), "t.vey:1: 'veyView' is not a control and cannot be tapped");
    EXPECT_EQ(runError("tap noSuchView"), "t.vey:1: the cover sheet has no property "
                                          "'noSuchView' (is the plug-in installed and enabled?)");
    EXPECT_EQ(runError("tap veyArtworkButton"), "");
}

TEST_F(SimulatorTest, UndecodableArtworkGoesToTheHostAsItIs) {
    std::ofstream(out_ + "/broken.jpg") << "\xff\xd8\xff this is not a picture";
    run("pref Enabled YES\nlaunch\nplay \"A\" \"B\" broken.jpg\nwait 1\n", out_);
    JsonValue d = dump();
    EXPECT_TRUE(d["host"]["nowPlaying"]["hasArtwork"].boolean);
    EXPECT_TRUE(d["state"]["highresImage"].isNull());
    EXPECT_EQ(d["state"]["coverName"].string, "A ");
}

TEST_F(SimulatorTest, OutputsLandInTheOutputFolder) {
    run("wait 0.5\ndump nested/early.json\nlaunch\ndump late.json\n");
    ASSERT_EQ(simulator().written().size(), 2u);
    EXPECT_EQ(simulator().written()[0], out_ + "/nested/early.json");
    std::ifstream in(out_ + "/nested/early.json");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    JsonValue early = JsonReader::parse(text);
    EXPECT_FALSE(early["launched"].boolean);
    EXPECT_DOUBLE_EQ(early["time"].number, 0.5);
    EXPECT_TRUE(std::filesystem::exists(out_ + "/late.json"));
    // The device folder has the plug-in installed with its filter.
    std::string plugins = out_ + "/device/Library/MobileSubstrate/DynamicLibraries/";
    EXPECT_TRUE(std::filesystem::exists(plugins + "Vey.dylib"));
    EXPECT_TRUE(std::filesystem::exists(plugins + "Vey.plist"));
}

} // namespace

TEST_F(SimulatorTest, SnapshotsAndFilmsDrawTheScreenAtTheDevicesScale) {
    run("pref Enabled YES\nplay \"A\" \"B\" artwork-sunset.jpg\nlaunch\nwait 1\n"
        "snapshot shots/screen.png\nfilm change 0.5 4\n");
    std::ifstream in(out_ + "/shots/screen.png", std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    Ref<UIImage> image = UIImage::imageWithData(NSData::make(std::move(bytes)));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), CGSizeMake(1170, 2532));
    for (const char* frame : {"change-0001.png", "change-0002.png"})
        EXPECT_TRUE(std::filesystem::exists(out_ + "/" + frame)) << frame;
    EXPECT_NEAR(dump()["time"].number, 1.5, 1e-9) << "the film advances the clock";
    EXPECT_EQ(runError("film x 0 4"), "t.vey:1: film: '0' is not a number of seconds in (0, 600]");
    EXPECT_EQ(runError("film x 100 100"), "t.vey:1: film: more than 3600 frames");
}
