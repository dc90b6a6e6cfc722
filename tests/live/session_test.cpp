// The live session without its window: the controls it offers for clicks, the scenario on the
// real clock, commands that fail, the names of the files it writes, and the command line.
#include "platform/springboard/springboard.h"
#include "sim/live/session.h"
#include "sim/sim_fixture.h"

#include <fstream>
#include <map>
#include <sstream>
#include <sys/wait.h>

using namespace sim;
namespace fs = std::filesystem;

namespace {

struct LiveSessionTest : SimulatorTest {
    LiveSession& start(const std::string& text) {
        session_ = std::make_unique<LiveSession>(
            simulator(), parseScenario(text, "t.vey", assets()), out_, out, err);
        return *session_;
    }
    std::ostringstream out, err;
    std::unique_ptr<LiveSession> session_;
};

const char* kPlaying = "pref Enabled YES\nlaunch\n"
                       "play \"A\" \"B\" artwork-sunset.jpg\nqueue \"C\" \"D\"\n";

} // namespace

TEST_F(LiveSessionTest, ClicksReachThePlayersControlsWhereTheyShow) {
    LiveSession& session = start(kPlaying);
    session.advance(secondsToNanos(1));
    // Drawn at full size at the window's corner: window pixels are screen points.
    LiveGeometry g = session.geometry(CGRectMake(0, 0, 390, 844));
    std::map<std::string, CGRect> targets;
    for (const LiveTarget& t : g.targets)
        targets[t.name] = t.frame;
    EXPECT_NEAR(g.player.origin.y, 285.9, 0.01);
    EXPECT_NEAR(targets["veyArtworkButton"].origin.y, 285.9 + 10.335, 0.01); // in the player

    // A click on the skip button taps it: the media controller is asked to change track.
    double x = CGRectGetMidX(targets["veySkipButton"]), y = CGRectGetMidY(targets["veySkipButton"]);
    LivePointer pointer;
    LiveEvent click[] = {{LiveEvent::Kind::Press, x, y}, {LiveEvent::Kind::Release, x, y}};
    for (const LiveCommand& c : translateEvents(click, g, pointer))
        EXPECT_TRUE(session.perform(c));
    EXPECT_EQ(out.str(), "live: tap veySkipButton\n");
    EXPECT_EQ(dump()["host"]["mediaCommands"].items.size(), 1u);

    // A hidden control cannot be clicked.
    cast<UIView>(send<id>(SBCurrentLockScreen()->coverSheet.get(), sel("veySkipButton")))
        ->setHidden(true);
    for (const LiveTarget& t : session.geometry(CGRectMake(0, 0, 390, 844)).targets)
        EXPECT_NE(t.name, "veySkipButton");
}

TEST_F(LiveSessionTest, ScenarioWaitsTakeRealTimeAndAFailureStopsIt) {
    LiveSession& session = start(std::string(kPlaying) + "wait 1\npause\ntap veyNoSuchButton\n"
                                                         "resume\n");
    session.advance(secondsToNanos(0.6));
    EXPECT_TRUE(MRNowPlayingService::shared().isPlaying());
    EXPECT_LE(session.nanosUntilDue(), secondsToNanos(0.4));
    session.advance(secondsToNanos(0.5)); // the wait ends, the rest runs, until it fails
    EXPECT_FALSE(MRNowPlayingService::shared().isPlaying());
    EXPECT_EQ(session.status(), 2);
    EXPECT_NE(err.str().find("t.vey:7:"), std::string::npos) << err.str();
    EXPECT_NEAR(MainQueue::shared().now(), 1.1, 1e-9);
    EXPECT_TRUE(session.takeChanged());
    EXPECT_FALSE(session.takeChanged());

    // The person's commands go on; q ends the session.
    EXPECT_TRUE(session.perform({LiveCommand::Kind::Resume}));
    EXPECT_TRUE(MRNowPlayingService::shared().isPlaying());
    EXPECT_FALSE(session.perform({LiveCommand::Kind::Quit}));
}

TEST_F(LiveSessionTest, SnapshotsAndDumpsKeepEarlierFiles) {
    LiveSession& session = start("launch\n");
    session.advance(0);
    std::ofstream(fs::path(out_) / "dump-1.json") << "earlier";
    ASSERT_TRUE(session.perform({LiveCommand::Kind::Dump}));
    ASSERT_TRUE(session.perform({LiveCommand::Kind::Dump}));
    EXPECT_TRUE(fs::exists(fs::path(out_) / "dump-3.json"));
    EXPECT_EQ(fs::file_size(fs::path(out_) / "dump-1.json"), 7u); // "earlier", left alone
    // Without the plug-in the style cannot change: reported, and the session goes on.
    EXPECT_TRUE(session.perform({LiveCommand::Kind::Theme}));
    EXPECT_NE(err.str().find("live: theme:"), std::string::npos) << err.str();
}

TEST(LiveScenario, CommandLineDeviceWinsAndSpringBoardLaunches) {
    LiveOptions options;
    options.deviceSize = CGSizeMake(320, 568);
    Scenario own = liveScenario(parseScenario("device 390x844 scale 2\n", "t.vey", "."), options);
    EXPECT_EQ(liveDevice(own).width, 320);
    EXPECT_EQ(liveDevice(own).scale, 2);
    ASSERT_EQ(own.commands.size(), 2u);
    EXPECT_EQ(own.commands.back().kind, Command::Kind::Launch);

    options.deviceScale = 1;
    Scenario none = liveScenario(parseScenario("launch\n", "t.vey", "."), options);
    ASSERT_EQ(none.commands.size(), 2u);
    EXPECT_EQ(liveDevice(none).scale, 1);
    EXPECT_EQ(liveDevice(none).height, 568);
}

TEST_F(LiveSessionTest, CommandLineWithBadInputOrNoDisplayExitsWithTwo) {
    const std::pair<const char*, const char*> cases[] = {
        {"live --device 10", "--device must be WxH"},
        {"live --device 0x844", "--device must be WxH"},
        {"live --scale 9", "--scale must be a number from 1 to 4"},
        {"live --scale", "--scale needs a value"},
        {"live --device=390x844 --device 390x844", "--device given twice"},
        {"live missing.vey", "cannot read the scenario file"},
        {"live", VEY_LIVE_WINDOW ? "no display" : "no live mode"},
    };
    for (auto [args, message] : cases) {
        std::string command = "cd '" + out_ +
                              "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER '" +
                              VEY_SIM_PATH + "' " + args + " > out.txt 2> err.txt";
        int raw = std::system(command.c_str());
        EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 2) << args;
        std::ifstream in(out_ + "/err.txt");
        std::string err(std::istreambuf_iterator<char>(in), {});
        EXPECT_NE(err.find(message), std::string::npos) << args << ": " << err;
    }
    EXPECT_FALSE(fs::exists(out_ + "/vey-live")); // nothing made before the window was refused
}
