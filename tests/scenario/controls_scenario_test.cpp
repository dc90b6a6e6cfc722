// The player's controls end to end where a scenario's checks cannot reach: route icon and
// picker, the adopted timeline, the glitch effect, through host objects and the plug-in's
// variables in this process.
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

// A blank glyph `side` points wide: the icon's width tells which glyph was taken.
void writeGlyph(const std::string& name, int side) {
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(side, side), YES, 1);
    Ref<NSData> png = UIImagePNGRepresentation(UIGraphicsGetImageFromCurrentImageContext());
    UIGraphicsEndImageContext();
    std::ofstream(MPGlyphBundlePath(kBatteryCenterUIBundleIdentifier) + "/" + name + ".png")
        .write(reinterpret_cast<const char*>(png->bytes().data()), long(png->length()));
}

class ControlsScenario : public SimulatorTest {
  protected:
    SBLockScreen* ls() { return SBCurrentLockScreen(); }
    MRUMediaControlsController* controls() { return ls()->lockScreenControls(); }
    template <class T> T* player(AttachedProperty<T> property) {
        return attached(ls()->coverSheet.get(), property);
    }
    // Title and artist at each millisecond of the next `seconds`.
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

} // namespace

TEST_F(ControlsScenario, RouteIconFollowsTheKindOfRoute) {
    run("pref Enabled YES\npref showDeviceName YES\n");
    std::string folder = MPGlyphBundlePath(kBatteryCenterUIBundleIdentifier);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    for (auto [name, side] : {std::pair{"B688", 31},
                              {"batteryglyphs-b515", 32},
                              {"batteryglyphs-b298-left-right", 33},
                              {"batteryglyphs-airpods-left-right", 35}})
        writeGlyph(name, side);
    run("launch\n");
    // Headphones (subtype 14) answer every route test, so the first row applies.
    for (bool glyphs : {true, false}) {
        if (!glyphs) std::filesystem::remove_all(folder);
        for (auto [route, glyph, symbol] : {std::tuple{"speaker", 0, "airplayaudio"},
                                            {"headphones", 31, "airpods.gen3"},
                                            {"airpods-gen3", 31, "airpods.gen3"},
                                            {"airpods-max", 32, "airpodsmax"},
                                            {"airpods-pro", 33, "airpodspro"},
                                            {"airpods", 35, "airpods"}}) {
            run(std::string("route ") + route + "\n");
            UIImage* image = player(prop::airplayIcon)->image();
            if (glyphs && glyph)
                EXPECT_EQ(image->size().width, glyph) << route;
            else
                EXPECT_EQ(image->symbolName(), symbol) << route;
            EXPECT_TRUE(image->isTemplate());
            EXPECT_EQ(player(prop::airplayIcon)->transform(),
                      CGAffineTransformMakeScale(glyph ? 0.75 : 0.575, 0.55))
                << route;
            EXPECT_EQ(plugin<bool>("defaultAirplay"), glyph == 0) << route;
            EXPECT_EQ(player(prop::veySourceLabel)->textString(),
                      MPRouteNameForKind(MPCurrentSystemAudioRouteKind()));
        }
    }
    std::filesystem::create_directories(folder);
    writeGlyph("batteryglyphs-airpodspro-left-right", 34);
    run("route airpods-pro\n");
    EXPECT_EQ(dump()["views"]["airplayIcon"]["image"]["width"].number, 34);

    // Only the Control Center's label is framed by the host, and it changes nothing here.
    EXPECT_EQ(controls()->routeLabel()->frame(), CGRectZero);
    EXPECT_GT(ls()->controlCenterControls->routeLabel()->frame().size.height, 0);
    MPSetSystemAudioRoute(MPRouteKind::Speaker);
    ls()->controlCenterControls->refreshRoute();
    EXPECT_FALSE(dump()["state"]["defaultAirplay"].boolean);

    // No output device, then no audio context: no route, the generic icon.
    Class routes = objc_getClass("MPAVOutputDeviceRoute");
    MRAVOutputContext::sharedSystemAudioContext()->avOutputContext()->setOutputDevice(nullptr);
    EXPECT_EQ(send<id>(routes, "systemAudioRoute"), nullptr);
    MPRemoveSystemAudioContext();
    EXPECT_EQ(send<id>(routes, "systemAudioRoute"), nullptr);
    controls()->refreshRoute();
    EXPECT_TRUE(dump()["state"]["defaultAirplay"].boolean);

    for (auto [subtype, headphones] : {std::pair{-1, false}, {13, false}, {14, true}}) {
        Ref<MPAVRoute> route = alloc<MPAVRoute>();
        route->setRoute(subtype, "");
        EXPECT_EQ(send<bool>(route.get(), "isHeadphonesRoute"), headphones) << subtype;
        EXPECT_EQ(send<bool>(route.get(), "isB515Route"), headphones) << subtype;
    }
}

TEST_F(ControlsScenario, OnlyTheLockScreensHeaderIsSearched) {
    run("pref Enabled YES\nlaunch\nplay \"A\" \"B\"\nwait 1\n");
    Ref<UIView>& button = plugin<Ref<UIView>>("nowPlayingRoutingButton");
    Ref<UIImageView>& icon = plugin<Ref<UIImageView>>("nowPlayingImage");
    MRUNowPlayingHeaderView* header = controls()->headerView();
    UIImageView* appIcon = header->artworkView()->iconImageView();
    ASSERT_EQ(button.get(), header->routingButton());
    ASSERT_EQ(icon.get(), appIcon);
    EXPECT_EQ(player(prop::nowPlayingAppIcon)->image(), appIcon->image());

    for (auto [context, delegate] : {std::pair<NSInteger, id>{2, ls()->controlCenter.get()},
                                     {0, ls()->mediaControls.get()},
                                     {1, ls()->mediaControls.get()}})
        send(MRUMediaControlsController::make(context, delegate)->headerView(), "layoutSubviews");
    send(UIView::make<MRUNowPlayingHeaderView>().get(), "layoutSubviews"); // no controller
    EXPECT_EQ(button.get(), header->routingButton());

    // With two image views the routing button is taken, no icon.
    auto twoImages = MRUMediaControlsController::make(2, ls()->mediaControls);
    twoImages->artworkView()->iconImageView()->removeFromSuperview();
    send(twoImages->headerView(), "layoutSubviews");
    EXPECT_EQ(button.get(), twoImages->headerView()->routingButton());
    EXPECT_EQ(icon.get(), appIcon);
    EXPECT_EQ(player(prop::nowPlayingAppIcon)->image(), appIcon->image());
}

TEST_F(ControlsScenario, RouteButtonFiresTheHostsPickerAtOnce) {
    run("pref Enabled YES\nlaunch\ntap veyAirplayButton\n");
    EXPECT_EQ(dump()["host"]["routePickerPresentations"].number, 1);
    plugin<Ref<UIView>>("nowPlayingRoutingButton") = nullptr; // as before any header
    run("wait 0.4\ntap veyAirplayButton\nwait 0.1\n");
    EXPECT_EQ(dump()["host"]["routePickerPresentations"].number, 1);
    EXPECT_GT(player(prop::veyAirplayButton)->presentationTransform().a, 1.05) << "it springs";
}

// Where it sits and how it shows is in the timeline scenario.
TEST_F(ControlsScenario, OnlyTheLockScreensTimelineIsAdopted) {
    run("pref Enabled YES\nlaunch\nplay \"A\" \"B\"\nwait 4\n");
    MRUNowPlayingTimeControlsView* timeline = controls()->timeControlsView();
    EXPECT_EQ(plugin<Ref<UIView>>("newTimeSlider").get(), timeline);
    EXPECT_EQ(timeline->elapsedTimeLabel()->superview(), timeline) << "numbers on by default";
    UIView* other = ls()->controlCenterControls->timeControlsView();
    other->setFrame(CGRectMake(5, 6, 100, 30));
    EXPECT_EQ(other->frame(), CGRectMake(5, 6, 100, 30));
}

TEST_F(ControlsScenario, OlderTimelineSqueezedAwayInMiniComesBackWhole) {
    run("device 390x844 version 15.0\npref Enabled YES\nlaunch\nwait 1\n");
    UIView* older = controls()->legacyTimeControl();
    ASSERT_EQ(plugin<Ref<UIView>>("timeSlider").get(), older);
    EXPECT_EQ(plugin<Ref<UIImageView>>("nowPlayingImage").get(),
              controls()->artworkView()->iconImageView());
    double width = older->bounds().size.width;

    run("tap veyArtworkButton\nwait 0.3\n");
    for (UIView* timeline : {older, static_cast<UIView*>(controls()->timeControlsView())}) {
        EXPECT_EQ(timeline->alpha(), 0);
        EXPECT_EQ(timeline->transform(), CGAffineTransformMakeScale(0.01, 1));
        EXPECT_EQ(timeline->animations().back().duration, secondsToNanos(0.25));
    }
    older->setAlpha(1);
    std::size_t animations = older->animations().size();
    run("wait 0.2\nlayout\n");
    EXPECT_EQ(older->animations().size(), animations) << "a hide is still running";
    // Squeezed again as the host frames it, then back to maxi.
    run("wait 0.06\nlayout\nwait 1\ntap veyArtworkButton\nwait 1\n");
    EXPECT_EQ(older->superview(), player(prop::veyView));
    EXPECT_EQ(older->presentationTransform(), CGAffineTransformIdentity);
    EXPECT_EQ(older->presentationAlpha(), 1);
    EXPECT_EQ(older->bounds().size.width, width);
    EXPECT_NEAR(older->frame().origin.x, (390 - width) / 2, 1e-9);
    EXPECT_NEAR(older->frame().origin.y, plugin<double>("yPosition"), 1e-9);
}

TEST_F(ControlsScenario, TimelineNumbersGoWhenTheSettingIsOff) {
    run("pref Enabled YES\npref timelineNumbersSwitch NO\nlaunch\nwait 0.09\n");
    MRUNowPlayingTimeControlsView* timeline = controls()->timeControlsView();
    EXPECT_EQ(timeline->elapsedTimeLabel()->superview(), timeline);
    run("wait 0.02\n");
    EXPECT_EQ(timeline->elapsedTimeLabel()->superview(), nullptr);
    EXPECT_EQ(timeline->remainingTimeLabel()->superview(), nullptr);
}

TEST_F(ControlsScenario, GlitchScramblesTheTitleAfterASkipUnlessTurnedOff) {
    run("pref Enabled YES\npref glitchSwitch YES\nlaunch\nplay \"Hi\" \"Duo\" artwork-ocean.png\n"
        "queue \"Yo\" \"Band\" artwork-sunset.jpg\nwait 3\n");
    // After the simulator pinned its own seed: consecutive frames must differ to be counted.
    setPlatformRandom([next = std::int64_t(0)]() mutable { return next++; });
    run("tap veySkipButton\n");
    auto shown = watchLabels(1.2);
    auto scrambled = [](auto& labels) { return labels.second == "Unknown"; };
    auto first = std::find_if(shown.begin(), shown.end(), scrambled);
    auto real = std::find_if_not(first, shown.end(), scrambled);
    EXPECT_NEAR(real - first, 700, 1) << "ms from the first frame to the real labels";
    EXPECT_TRUE(std::none_of(real, shown.end(), scrambled));
    std::vector<std::string> frames;
    for (auto at = first; at != real; ++at)
        if (frames.empty() || frames.back() != at->first) frames.push_back(at->first);
    ASSERT_EQ(frames.size(), 10u);
    for (const std::string& frame : frames)
        EXPECT_TRUE(frame.size() == 3 && frame.find_first_not_of("01X!") == std::string::npos)
            << frame;
    EXPECT_EQ(shown.back().first + shown.back().second, "Yo Band ");
    EXPECT_EQ(plugin<int>("glitchNo"), 0);
    EXPECT_FALSE(plugin<bool>("shouldGlitch"));

    // Cut short by the setting: the real title at once, and no count left up to block every
    // later effect.
    run("tap veySkipButton\n");
    for (int ms = 0; ms < 1000 && plugin<int>("glitchNo") < 3; ms++)
        MainQueue::shared().runFor(0.001);
    run("pref glitchSwitch NO\nwait 0.1\n");
    EXPECT_EQ(player(prop::veySongLabel)->textString(), "Hi ");
    EXPECT_EQ(plugin<int>("glitchNo"), 0);
    run("tap veySkipButton\n");
    shown = watchLabels(1.2);
    EXPECT_TRUE(std::none_of(shown.begin(), shown.end(), scrambled));
    EXPECT_EQ(player(prop::veySongLabel)->textString(), "Yo ");
    run("pref glitchSwitch YES\ntap veySkipButton\n");
    shown = watchLabels(1.2);
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), scrambled));
}
