// The player's controls end to end: the route button and its icon, the adopted timeline and
// the glitch effect, run through the simulator with the built plug-in. The host and the
// plug-in's variables are read and set in this process where no scenario command reaches.
#include "sim/sim_fixture.h"

#include "entry/properties.h"
#include "platform/graphics/graphics.h"
#include "platform/graphics/random.h"
#include "platform/springboard/springboard.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

template <class T> T& plugin(const char* name) {
    return *static_cast<T*>(const_cast<void*>(sim::pluginVariable(name)));
}

std::vector<double> numbers(const JsonValue& array) {
    std::vector<double> out;
    for (auto& item : array.items)
        out.push_back(item.number);
    return out;
}

const std::vector<double> kGlyphScale{0.75, 0, 0, 0.55, 0, 0};
const std::vector<double> kGenericScale{0.575, 0, 0, 0.55, 0, 0};

// A square glyph `side` points wide, so that the icon shown tells which glyph it is.
void writeGlyph(const std::string& path, int side) {
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(side, side), YES, 1);
    Ref<UIImage> image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    Ref<NSData> png = UIImagePNGRepresentation(image);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(png->bytes().data()), long(png->length()));
}

class ControlsScenario : public SimulatorTest {
  protected:
    SBLockScreen* ls() { return SBCurrentLockScreen(); }
    MRUMediaControlsController* lockControls() { return ls()->lockScreenControls(); }
    template <class T> T* player(AttachedProperty<T> property) {
        return attached(ls()->coverSheet.get(), property);
    }
    std::string glyphFolder() { return MPGlyphBundlePath(kBatteryCenterUIBundleIdentifier); }

    // What a press on the skip button leaves behind: the mark, and the host's next track.
    void skip() {
        plugin<int>("prevAction") = -1;
        MRNowPlayingService::shared().changeTrack(1);
    }
    // Title and artist as shown at each millisecond of the next `seconds`.
    std::vector<std::pair<std::string, std::string>> watchLabels(double seconds) {
        std::vector<std::pair<std::string, std::string>> shown;
        for (int ms = 0; ms < seconds * 1000; ms++) {
            MainQueue::shared().runFor(0.001);
            shown.emplace_back(player(prop::veySongLabel)->textString(),
                               player(prop::veyArtistLabel)->textString());
        }
        return shown;
    }
};

// Counts up, so that consecutive glitch frames never repeat.
std::int64_t countingRandom() {
    static std::int64_t next = 0;
    return next++;
}

} // namespace

TEST_F(ControlsScenario, RouteIconFollowsTheKindOfRoute) {
    run("pref Enabled YES\npref showDeviceName YES\n");
    std::filesystem::remove_all(glyphFolder());
    std::filesystem::create_directories(glyphFolder());
    for (auto [name, side] : {std::pair{"B688", 31},
                              {"batteryglyphs-b515", 32},
                              {"batteryglyphs-b298-left-right", 33},
                              {"batteryglyphs-airpodspro-left-right", 34},
                              {"batteryglyphs-airpods-left-right", 35}})
        writeGlyph(glyphFolder() + "/" + name + ".png", side);
    run("launch\n");

    struct Case {
        const char* route;
        MPRouteKind kind;
        int glyph; // its width; 0 for the generic icon
        const char* symbol;
    };
    const Case cases[] = {
        {"speaker", MPRouteKind::Speaker, 0, "airplayaudio"},
        // Subtype 14 answers every route test, so the first row applies.
        {"headphones", MPRouteKind::Headphones, 31, "airpods.gen3"},
        {"airpods-gen3", MPRouteKind::AirPodsGen3, 31, "airpods.gen3"},
        {"airpods-max", MPRouteKind::AirPodsMax, 32, "airpodsmax"},
        {"airpods-pro", MPRouteKind::AirPodsPro, 33, "airpodspro"},
        {"airpods", MPRouteKind::AirPods, 35, "airpods"},
    };
    for (bool glyphs : {true, false}) {
        if (!glyphs) std::filesystem::remove_all(glyphFolder());
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.route) + (glyphs ? " with glyphs" : " without glyphs"));
            run(std::string("route ") + c.route + "\n");
            JsonValue d = dump();
            const JsonValue& icon = d["views"]["airplayIcon"];
            if (glyphs && c.glyph)
                EXPECT_EQ(icon["image"]["width"].number, c.glyph);
            else
                EXPECT_EQ(icon["image"]["symbol"].string, c.symbol);
            EXPECT_TRUE(icon["image"]["template"].boolean);
            EXPECT_EQ(numbers(icon["transform"]), c.glyph ? kGlyphScale : kGenericScale);
            EXPECT_EQ(d["state"]["defaultAirplay"].boolean, c.glyph == 0);
            EXPECT_EQ(d["views"]["veySourceLabel"]["text"].string, MPRouteNameForKind(c.kind));
        }
    }
    std::filesystem::create_directories(glyphFolder());
    writeGlyph(glyphFolder() + "/batteryglyphs-airpodspro-left-right.png", 34);
    run("route airpods-pro\n");
    EXPECT_EQ(dump()["views"]["airplayIcon"]["image"]["width"].number, 34);

    // The host frames only the Control Center's route label; a change seen only there leaves
    // the player alone.
    EXPECT_EQ(lockControls()->routeLabel()->frame(), CGRectZero);
    EXPECT_GT(ls()->controlCenterControls->routeLabel()->frame().size.height, 0);
    MPSetSystemAudioRoute(MPRouteKind::Speaker);
    ls()->controlCenterControls->refreshRoute();
    EXPECT_FALSE(dump()["state"]["defaultAirplay"].boolean);
}

TEST_F(ControlsScenario, WithoutASystemAudioRouteTheIconIsGeneric) {
    run("pref Enabled YES\nlaunch\nroute airpods\n");
    Class routes = objc_getClass("MPAVOutputDeviceRoute");
    EXPECT_TRUE(send<bool>(send<id>(routes, "systemAudioRoute"), "isAirpodsRoute"));
    MRAVOutputContext::sharedSystemAudioContext()->avOutputContext()->setOutputDevice(nullptr);
    EXPECT_EQ(send<id>(routes, "systemAudioRoute"), nullptr);
    MPRemoveSystemAudioContext();
    EXPECT_EQ(send<id>(routes, "systemAudioRoute"), nullptr);
    lockControls()->refreshRoute();
    JsonValue d = dump();
    EXPECT_TRUE(d["state"]["defaultAirplay"].boolean);
    EXPECT_EQ(d["views"]["airplayIcon"]["image"]["symbol"].string, "airplayaudio");
}

TEST_F(ControlsScenario, HeadphoneSubtypesAnswerEveryRouteTest) {
    run("pref Enabled YES\nlaunch\n");
    for (auto [subtype, headphones] : {std::pair{-1, false}, {13, false}, {14, true}}) {
        Ref<MPAVRoute> route = alloc<MPAVRoute>();
        route->setRoute(subtype, "");
        EXPECT_EQ(send<bool>(route.get(), "isHeadphonesRoute"), headphones) << subtype;
        for (const char* test : {"isAirpodsRoute", "isB298Route", "isB515Route", "isB688Route"})
            EXPECT_EQ(send<bool>(route.get(), test), headphones) << subtype << test;
    }
}

TEST_F(ControlsScenario, OnlyTheLockScreensHeaderIsSearched) {
    run("pref Enabled YES\nlaunch\nplay \"A\" \"B\"\nwait 1\n");
    Ref<UIView>& button = plugin<Ref<UIView>>("nowPlayingRoutingButton");
    Ref<UIImageView>& icon = plugin<Ref<UIImageView>>("nowPlayingImage");
    MRUNowPlayingHeaderView* header = lockControls()->headerView();
    ASSERT_EQ(button.get(), header->routingButton());
    ASSERT_EQ(icon.get(), header->artworkView()->iconImageView());
    UIImage* appIcon = player(prop::nowPlayingAppIcon)->image();
    EXPECT_EQ(appIcon, icon->image());

    auto search = [](MRUNowPlayingHeaderView* h) { send(h, "layoutSubviews"); };
    for (auto [context, delegate] : {std::pair<NSInteger, id>{2, ls()->controlCenter.get()},
                                     {0, ls()->mediaControls.get()},
                                     {1, ls()->mediaControls.get()}})
        search(MRUMediaControlsController::make(context, delegate)->headerView());
    search(UIView::make<MRUNowPlayingHeaderView>()); // no controller to ask
    EXPECT_EQ(button.get(), header->routingButton());
    EXPECT_EQ(icon.get(), header->artworkView()->iconImageView());

    // Two image views: the routing button is taken, no icon is.
    auto twoImages = MRUMediaControlsController::make(2, ls()->mediaControls);
    twoImages->artworkView()->iconImageView()->removeFromSuperview();
    search(twoImages->headerView());
    EXPECT_EQ(button.get(), twoImages->headerView()->routingButton());
    EXPECT_EQ(icon.get(), header->artworkView()->iconImageView());
    EXPECT_EQ(player(prop::nowPlayingAppIcon)->image(), appIcon);
}

TEST_F(ControlsScenario, RouteButtonFiresTheHostsPickerAtOnce) {
    run("pref Enabled YES\nlaunch\ntap veyAirplayButton\n");
    EXPECT_EQ(dump()["host"]["routePickerPresentations"].number, 1);
    UIView* button = player(prop::veyAirplayButton);
    run("wait 0.1\n");
    EXPECT_GT(button->presentationTransform().a, 1.05);
    run("wait 0.3\n");
    EXPECT_EQ(button->presentationTransform(), CGAffineTransformIdentity);

    plugin<Ref<UIView>>("nowPlayingRoutingButton") = nullptr; // no header seen
    run("tap veyAirplayButton\nwait 0.1\n");
    EXPECT_EQ(dump()["host"]["routePickerPresentations"].number, 1);
    EXPECT_GT(button->presentationTransform().a, 1.05);
}

TEST_F(ControlsScenario, TimelineSitsBetweenTheArtistLabelAndTheButtons) {
    run("pref Enabled YES\nlaunch\nplay \"A\" \"B\" artwork-sunset.jpg\nwait 4\n");
    MRUNowPlayingTimeControlsView* timeline = lockControls()->timeControlsView();
    ASSERT_EQ(plugin<Ref<UIView>>("newTimeSlider").get(), timeline);
    EXPECT_EQ(timeline->superview(), player(prop::veyView));
    EXPECT_EQ(timeline->elapsedTimeLabel()->superview(), timeline) << "numbers on by default";
    const JsonValue main = dump()["state"]["bestColors"][0];
    CGColor track = timeline->subviews()[0]->backgroundColor()->rgba();
    EXPECT_EQ((std::vector<double>{track.r, track.g, track.b, track.a}), numbers(main));

    player(prop::veyArtistLabel)->setFrame(CGRectMake(28, 200, 334, 28));
    player(prop::veyPauseButton)->setFrame(CGRectMake(175, 260, 39, 39));
    timeline->setFrame(CGRectMake(0, 0, 300, 30));
    EXPECT_NEAR(timeline->frame().origin.y, 220.1, 1e-9);
    EXPECT_NEAR(timeline->frame().origin.x, 45, 1e-9);

    // Held still in the mini layout; the Control Center's takes its frames as they come.
    plugin<bool>("minimized") = true;
    timeline->setFrame(CGRectMake(5, 5, 100, 30));
    EXPECT_NEAR(timeline->frame().origin.y, 220.1, 1e-9);
    UIView* other = ls()->controlCenterControls->timeControlsView();
    other->setFrame(CGRectMake(5, 6, 100, 30));
    EXPECT_EQ(other->frame(), CGRectMake(5, 6, 100, 30));
}

TEST_F(ControlsScenario, LayoutPassesInABurstStartOneShow) {
    run("pref Enabled YES\nlaunch\nwait 1\nlayout\nwait 0.05\nlayout\nwait 0.05\nlayout\n"
        "wait 0.19\n");
    auto showing = [&] { return dump()["state"]["timeAnimation"].boolean; };
    EXPECT_FALSE(showing()) << "the earlier passes' show steps stand down";
    run("wait 0.02\n");
    EXPECT_TRUE(showing());
    run("wait 0.38\n");
    EXPECT_TRUE(showing());
    run("wait 0.02\n");
    EXPECT_FALSE(showing());
}

TEST_F(ControlsScenario, MiniLayoutSqueezesTheOlderTimelineAway) {
    run("device 390x844 version 15.0\npref Enabled YES\nlaunch\nwait 1\n");
    UIView* older = lockControls()->legacyTimeControl();
    UIView* newer = lockControls()->timeControlsView();
    ASSERT_EQ(plugin<Ref<UIView>>("timeSlider").get(), older);
    EXPECT_EQ(plugin<Ref<UIImageView>>("nowPlayingImage").get(),
              lockControls()->artworkView()->iconImageView());

    plugin<bool>("minimized") = true;
    run("layout\n");
    for (UIView* timeline : {older, newer}) {
        EXPECT_EQ(timeline->alpha(), 0);
        EXPECT_EQ(timeline->transform(), CGAffineTransformMakeScale(0.01, 1));
        EXPECT_EQ(timeline->animations().back().duration, secondsToNanos(0.25));
    }
    older->setAlpha(1);
    std::size_t animations = older->animations().size();
    run("wait 0.2\nlayout\n");
    EXPECT_EQ(older->animations().size(), animations) << "a hide is still running";
    run("wait 0.06\n");
    EXPECT_FALSE(dump()["state"]["timeAnimation"].boolean);
}

TEST_F(ControlsScenario, TimelineNumbersGoWhenTheSettingIsOff) {
    run("pref Enabled YES\npref timelineNumbersSwitch NO\nlaunch\nwait 0.09\n");
    MRUNowPlayingTimeControlsView* timeline = lockControls()->timeControlsView();
    EXPECT_EQ(timeline->elapsedTimeLabel()->superview(), timeline);
    run("wait 0.02\n");
    EXPECT_EQ(timeline->elapsedTimeLabel()->superview(), nullptr);
    EXPECT_EQ(timeline->remainingTimeLabel()->superview(), nullptr);
}

TEST_F(ControlsScenario, GlitchScramblesTheTitleAfterASkip) {
    setPlatformRandom(&countingRandom);
    run("pref Enabled YES\npref glitchSwitch YES\nlaunch\nplay \"Hi\" \"Duo\" artwork-ocean.png\n"
        "queue \"Yo\" \"Band\" artwork-sunset.jpg\nwait 3\n");
    skip();
    auto shown = watchLabels(1.2);
    std::vector<std::string> frames;
    std::size_t first = shown.size(), real = shown.size();
    for (std::size_t i = 0; i < shown.size(); i++) {
        auto& [song, artist] = shown[i];
        if (artist == "Unknown") {
            first = std::min(first, i);
            if (frames.empty() || frames.back() != song) frames.push_back(song);
        } else if (first < i && song == "Yo " && artist == "Band ") {
            real = std::min(real, i);
        }
    }
    ASSERT_EQ(frames.size(), 10u);
    for (const std::string& frame : frames)
        EXPECT_TRUE(frame.size() == 3 && frame.find_first_not_of("01X!") == std::string::npos)
            << frame;
    EXPECT_NEAR(double(real - first), 700, 1) << "real labels 0.7 s after the first frame";
    for (std::size_t i = real; i < shown.size(); i++)
        EXPECT_EQ(shown[i].first, "Yo ");
    JsonValue d = dump();
    EXPECT_EQ(d["state"]["glitchNo"].number, 0);
    EXPECT_FALSE(d["state"]["shouldGlitch"].boolean);

    run("pref glitchSwitch NO\n");
    skip();
    for (auto& [song, artist] : watchLabels(1.2))
        ASSERT_NE(artist, "Unknown") << "only the real labels without the setting";
    EXPECT_EQ(player(prop::veySongLabel)->textString(), "Hi ");
}

TEST_F(ControlsScenario, GlitchCutShortByTheSettingRunsAgainLater) {
    run("pref Enabled YES\npref glitchSwitch YES\nlaunch\nplay \"Hi\" \"Duo\" artwork-ocean.png\n"
        "queue \"Yo\" \"Band\" artwork-sunset.jpg\nwait 3\n");
    skip();
    for (int ms = 0; ms < 1000 && plugin<int>("glitchNo") < 3; ms++)
        MainQueue::shared().runFor(0.001);
    run("pref glitchSwitch NO\nwait 0.1\n");
    EXPECT_EQ(player(prop::veySongLabel)->textString(), "Yo ");
    EXPECT_EQ(plugin<int>("glitchNo"), 0) << "a count left up would block every later effect";

    run("pref glitchSwitch YES\n");
    skip();
    bool scrambled = false;
    for (auto& [song, artist] : watchLabels(1.2))
        scrambled |= artist == "Unknown";
    EXPECT_TRUE(scrambled);
}
