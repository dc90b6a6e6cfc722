// vey-sim as users run it: the demo into a folder, scenarios with and without --out, test
// suites, exit statuses and messages for bad scenarios and bad command lines.
#include "json_reader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Result {
    int status = -1;
    std::string out, err;
};

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

class Cli : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vey-cli-test-XXXXXX").string();
        dir_ = mkdtemp(pattern.data());
        fs::create_directory(dir_ / "tmp"); // the temporary folders it makes go here
    }
    void TearDown() override { fs::remove_all(dir_); }

    Result sim(const std::string& args) {
        std::string command = "cd '" + dir_.string() + "' && TMPDIR='" + (dir_ / "tmp").string() +
                              "' '" VEY_SIM_PATH "' " + args + " > out.txt 2> err.txt";
        int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(dir_ / "out.txt"),
                slurp(dir_ / "err.txt")};
    }
    // An `err` that does not end a line need only be found in standard error.
    void expectRun(const std::string& args, int status, const std::string& err,
                   const std::string& out = "") {
        SCOPED_TRACE(args);
        Result r = sim(args);
        EXPECT_EQ(r.status, status);
        EXPECT_TRUE(err.ends_with("\n") ? r.err == err : r.err.find(err) != std::string::npos)
            << r.err;
        EXPECT_EQ(r.out, out);
    }
    void write(const std::string& name, const std::string& text) {
        fs::create_directories((dir_ / name).parent_path());
        std::ofstream(dir_ / name) << text;
    }
    fs::path dir_;
};

TEST_F(Cli, DemoWritesEveryOutputIntoTheFolderTheSameOnEveryRun) {
    auto outputs = [&] { // the bytes of each file but the device's, by its path as printed
        std::map<std::string, std::string> files;
        for (auto& entry : fs::recursive_directory_iterator(dir_ / "demo-out"))
            if (entry.is_regular_file() &&
                entry.path().string().find("/device/") == std::string::npos)
                files[fs::relative(entry.path(), dir_).string()] = slurp(entry.path());
        return files;
    };
    Result r = sim("demo --out demo-out");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    // Every file written is printed, and nothing else.
    auto first = outputs();
    EXPECT_GT(first.size(), 10u); // the films' frames
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), long(first.size()));
    for (auto& [path, bytes] : first)
        EXPECT_NE(("\n" + r.out).find("\n" + path + "\n"), std::string::npos) << path;
    EXPECT_TRUE(parseJson(first["demo-out/01-playing.json"])["pluginLoaded"].boolean);
    // Pictures are at the device's scale: 390 x 844 points at 3, in the PNG header.
    EXPECT_EQ(first["demo-out/00-lock-screen.png"].substr(16, 8),
              std::string("\0\0\x04\x92\0\0\x09\xe4", 8));

    // Running it again replaces the device it made before, and writes the same bytes: the
    // grain of the artwork background and every other picture are repeatable.
    ASSERT_EQ(sim("demo --out demo-out").status, 0);
    for (auto& [path, bytes] : outputs())
        EXPECT_TRUE(bytes == first[path]) << path << " differs";
}

TEST_F(Cli, WithoutOutTheTemporaryFolderIsRemoved) {
    write("s.vey", "launch\ndump state.json\n");
    Result r = sim("run s.vey");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with((dir_ / "tmp").string())) << r.out;
    EXPECT_TRUE(r.out.ends_with("/state.json\n") &&
                std::count(r.out.begin(), r.out.end(), '\n') == 1);
    EXPECT_TRUE(fs::is_empty(dir_ / "tmp"));
}

TEST_F(Cli, ScenarioErrorsNameTheLineAndExitWithTwo) {
    write("scenes/bad.vey", "launch\n\njump\n");
    expectRun("run scenes/bad.vey --out o", 2, "scenes/bad.vey:3: unknown command 'jump'\n");
    // Found while running: the plug-in is off, so the player has no buttons.
    write("off.vey", "launch\ndump before.json\ntap veySkipButton\ndump after.json\n");
    expectRun("run off.vey --out=o2", 2,
              "off.vey:3: the cover sheet has no property 'veySkipButton' (is the plug-in "
              "installed and enabled?)\n",
              "o2/before.json\n");
    expectRun("run missing.vey", 2, "missing.vey: cannot read the scenario file\n");

    // An output that cannot be written, or a folder it did not make, is not the scenario's fault.
    write("o3/taken.json/x", "");
    write("taken.vey", "dump taken.json\n");
    expectRun("run taken.vey --out o3", 1,
              "vey-sim: taken.vey:1: cannot write o3/taken.json: Is a directory\n");
    write("mine/device/precious.txt", "keep me");
    expectRun("run taken.vey --out mine", 1,
              "vey-sim: mine/device exists and is not a device folder made by vey-sim\n");
    EXPECT_EQ(slurp(dir_ / "mine/device/precious.txt"), "keep me");
}

TEST_F(Cli, BadCommandLinesShowTheUsage) {
    for (const char* args : {"", "fly", "run", "run a.vey b.vey", "demo --out",
                             "demo --out=", "demo --out a --out b", "demo --fast"})
        expectRun(args, 2, "usage: vey-sim run SCENARIO [--out DIR]");
}

TEST_F(Cli, TestRunsEveryScenarioInItsOwnProcessAndCountsThem) {
    write("suite/pass.vey", "launch\nexpect launched == YES\n");
    write("suite/sub/fail.vey", "launch\nexpect time > 5\nwait 6\nexpect time > 5\n");
    write("suite/broken.vey", "launch\njump\n");
    write("suite/notes.txt", "launch\njump\n");
    for (const char* args : {"test suite --out o", "test --jobs 3 suite --out=o"}) {
        expectRun(args, 1, "",
                  "ERROR suite/broken.vey\nsuite/broken.vey:2: unknown command 'jump'\n"
                  "PASS suite/pass.vey\nFAIL suite/sub/fail.vey\n"
                  "suite/sub/fail.vey:2: expected time > 5 but was 0\n1 passed, 2 failed\n");
        EXPECT_TRUE(fs::exists(dir_ / "o/sub/fail/device"));
    }

    // Without --out the outputs go to a temporary folder, kept only when something failed.
    expectRun("test suite --filter pass", 0, "",
              "PASS suite/pass.vey\n1 passed, 0 failed, 2 skipped\n");
    EXPECT_TRUE(fs::is_empty(dir_ / "tmp"));
    Result r = sim("test suite/sub/fail.vey");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.starts_with("vey-sim: the outputs of the failed scenarios are in " +
                                  (dir_ / "tmp/vey-sim-test-").string()))
        << r.err;

    for (auto [args, message] : std::vector<std::pair<const char*, const char*>>{
             {"test", "vey-sim: test needs scenarios or folders of them\nusage:"},
             {"test suite --jobs 0", "vey-sim: --jobs must be a whole number from 1 to 64"},
             {"test suite --filter", "vey-sim: --filter needs a value"},
             {"test suite --fast", "vey-sim: unknown option '--fast'"},
             {"test nowhere", "vey-sim: no such scenario or folder: nowhere"},
             {"test suite --filter nothing", "vey-sim: no scenario matches --filter 'nothing'"},
             {"test o/sub/fail/device", "vey-sim: no scenarios (.vey files) found"}})
        expectRun(args, 2, message);
}

} // namespace
