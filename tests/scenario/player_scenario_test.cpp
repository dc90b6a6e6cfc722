// The player end to end: scenarios run through the simulator with the built plug-in, checked
// in the state dump at chosen virtual times.
#include "sim/sim_fixture.h"

#include <gtest/gtest.h>

namespace {

std::vector<double> numbers(const JsonValue& array) {
    std::vector<double> out;
    for (auto& item : array.items)
        out.push_back(item.number);
    return out;
}

void expectFrame(const JsonValue& view, std::vector<double> frame) {
    auto actual = numbers(view["frame"]);
    ASSERT_EQ(actual.size(), 4u);
    for (int i = 0; i < 4; i++)
        EXPECT_NEAR(actual[i], frame[i], 1e-6) << "frame[" << i << "]";
}

using PlayerScenario = SimulatorTest;

} // namespace

TEST_F(PlayerScenario, MaxiLayoutOfTheDefaultDevice) {
    run("pref Enabled YES\nlaunch\nwait 1\n");
    JsonValue d = dump();
    const JsonValue& views = d["views"];
    expectFrame(views["veyView"], {0, 285.9, 390, 425.5});
    EXPECT_TRUE(views["veyView"]["hidden"].boolean) << "hidden until something plays";
    EXPECT_NEAR(numbers(views["veyPauseButton"]["frame"])[2], 39, 1e-9);
    auto artwork = numbers(views["artworkImageView"]["frame"]);
    EXPECT_NEAR(artwork[2], 250, 1e-9);
    EXPECT_NEAR(artwork[3], 250, 1e-9);
    EXPECT_NEAR(numbers(views["nowPlayingAppIcon"]["frame"])[2], 25, 1e-9);
    auto panel = numbers(views["veyMiniBackgroundView"]["frame"]);
    EXPECT_NEAR(panel[2], 370.5, 1e-9);
    EXPECT_NEAR(panel[3], 174.135, 1e-9);
    // Top to bottom: artwork, song, artist, buttons, source label.
    auto y = [&](const char* name) { return numbers(views[name]["frame"])[1]; };
    EXPECT_LT(y("artworkImageView"), y("veySongLabel"));
    EXPECT_LT(y("veySongLabel"), y("veyArtistLabel"));
    EXPECT_LT(y("veyArtistLabel"), y("veyPauseButton"));
    EXPECT_LT(y("veyPauseButton"), y("veySourceLabel"));
}

TEST_F(PlayerScenario, ATrackChangeShowsTheTrackWithColoursFromItsArtwork) {
    run("pref Enabled YES\nlaunch\nplay \"Title\" \"Artist\" artwork-sunset.jpg\nwait "
        "0.5\nlayout\n");
    JsonValue early = dump();
    EXPECT_EQ(early["views"]["veySongLabel"]["text"].string, "Title ");
    EXPECT_EQ(early["views"]["veyArtistLabel"]["text"].string, "Artist ");
    EXPECT_EQ(early["state"]["coverName"].string, "Title ");
    EXPECT_FALSE(early["views"]["veyView"]["hidden"].boolean);
    EXPECT_TRUE(early["host"]["callToActionLabel"]["hidden"].boolean)
        << "the next layout of the label hides it while the player shows";

    run("wait 4\n");
    JsonValue d = dump();
    const JsonValue& state = d["state"];
    ASSERT_FALSE(state["highresImage"].isNull());
    ASSERT_FALSE(state["blurredImage"].isNull());
    EXPECT_EQ(state["blurredImage"]["width"].number, state["highresImage"]["width"].number);
    ASSERT_EQ(state["bestColors"].items.size(), 3u);
    EXPECT_EQ(numbers(d["views"]["veySongLabel"]["textColor"]), numbers(state["bestColors"][0]));
    EXPECT_EQ(numbers(d["views"]["veyArtistLabel"]["textColor"]), numbers(state["bestColors"][1]));
    EXPECT_EQ(numbers(d["views"]["veyView"]["tintColor"]), numbers(state["bestColors"][0]));
    EXPECT_FALSE(d["views"]["artworkImageView"]["image"].isNull());
    EXPECT_FALSE(d["views"]["veyBackgroundArtwork"]["image"].isNull());
}

TEST_F(PlayerScenario, DarkAndLightStylesAndTheOverride) {
    run("pref Enabled YES\npref style darkMode\nlaunch\nplay \"A\" \"B\" artwork-ocean.png\n"
        "wait 2\n");
    JsonValue dark = dump();
    EXPECT_EQ(numbers(dark["views"]["veySongLabel"]["textColor"]),
              (std::vector<double>{0, 0, 0, 1}));
    EXPECT_EQ(numbers(dark["views"]["veyArtistLabel"]["textColor"]),
              (std::vector<double>{0, 0, 0, 1}));
    run("theme\nwait 1\n");
    JsonValue forced = dump();
    EXPECT_TRUE(forced["state"]["forcedTheme"].boolean);
    EXPECT_EQ(numbers(forced["views"]["veySongLabel"]["textColor"]),
              (std::vector<double>{1, 1, 1, 1}));
    EXPECT_EQ(numbers(forced["views"]["veyView"]["tintColor"]), (std::vector<double>{1, 1, 1, 1}));
    run("theme\nwait 1\n");
    JsonValue back = dump();
    EXPECT_FALSE(back["state"]["forcedTheme"].boolean);
    EXPECT_EQ(numbers(back["views"]["veySongLabel"]["textColor"]),
              (std::vector<double>{0, 0, 0, 1}));
    EXPECT_EQ(numbers(back["views"]["artworkImageView"]["borderColor"]),
              (std::vector<double>{0, 0, 0, 0.7}));
}

TEST_F(PlayerScenario, LightModeIsWhite) {
    run("pref Enabled YES\npref style lightMode\nlaunch\nplay \"A\" \"B\" artwork-ocean.png\n"
        "wait 2\n");
    JsonValue d = dump();
    EXPECT_EQ(numbers(d["views"]["veySongLabel"]["textColor"]), (std::vector<double>{1, 1, 1, 1}));
    EXPECT_EQ(numbers(d["views"]["veyArtistLabel"]["textColor"]),
              (std::vector<double>{1, 1, 1, 1}));
}

TEST_F(PlayerScenario, MissingArtistUndecodableArtworkAndStop) {
    run("pref Enabled YES\nlaunch\nplay \"One\" \"First\" artwork-sunset.jpg\nwait 3\n");
    JsonValue before = dump();
    // demo.vey exists but is not an image: the host passes it on as it is.
    run("play \"Two\" - demo.vey\nwait 3\n");
    JsonValue d = dump();
    EXPECT_EQ(d["views"]["veyArtistLabel"]["text"].string, "N/A");
    EXPECT_EQ(d["state"]["artistName"].string, "First ");
    EXPECT_EQ(d["state"]["coverName"].string, "Two ");
    EXPECT_EQ(numbers(d["state"]["bestColors"][0]), numbers(before["state"]["bestColors"][0]));
    EXPECT_EQ(d["state"]["highresImage"]["width"].number,
              before["state"]["highresImage"]["width"].number);

    run("stop\nwait 1\nlayout\n");
    JsonValue stopped = dump();
    EXPECT_TRUE(stopped["views"]["veyView"]["hidden"].boolean);
    EXPECT_TRUE(stopped["state"]["highresImage"].isNull());
    EXPECT_FALSE(stopped["host"]["callToActionLabel"]["hidden"].boolean)
        << "the call to action shows again while the player is hidden";
}
