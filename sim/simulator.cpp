#include "sim/simulator.h"

#include "platform/graphics/random.h"
#include "platform/preferences/plist_file.h"
#include "platform/springboard/springboard.h"
#include "sim/attached_views.h"
#include "sim/device.h"
#include "sim/image_match.h"
#include "sim/render/render.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace sim {

namespace {

// Artwork larger than this is refused before it is read.
constexpr std::uintmax_t kMaxArtworkBytes = 32u << 20;
// The pinned wall clock at virtual time 0 (14 November 2023).
// Tuesday 9 January 2024, 9:41, as the lock screen shows.
constexpr std::int64_t kWallClockAtStart = 1'704'793'260;

[[noreturn]] void failRun(const Scenario& scenario, const Command& c, const std::string& problem) {
    throw std::runtime_error(ScenarioError(scenario.file, c.line, problem).what());
}

CSCoverSheetView* coverSheet() {
    SBLockScreen* ls = SBCurrentLockScreen();
    return ls ? ls->coverSheet.get() : nullptr;
}

// One of the player's views by its property name, or an error that says why not.
UIView* playerView(const Scenario& scenario, const Command& c, const std::string& name) {
    auto fail = [&](const std::string& problem) {
        throw ScenarioError(scenario.file, c.line, problem);
    };
    std::vector<std::string> names = attachedViewProperties();
    if (names.empty())
        fail(name.empty() ? "the player is not there (is the plug-in installed and enabled?)"
                          : "the cover sheet has no property '" + name +
                                "' (is the plug-in installed and enabled?)");
    if (std::find(names.begin(), names.end(), name) == names.end()) {
        std::string list;
        for (const std::string& n : names)
            list += (list.empty() ? "" : ", ") + n;
        fail("'" + name + "' is not one of the player's views (" + list + ")");
    }
    UIView* view = attachedView(coverSheet(), name);
    if (!view) fail("'" + name + "' is not set yet");
    return view;
}

} // namespace

Simulator::Simulator(RunOptions options) : options_(std::move(options)) {
    prepareDevice((fs::path(options_.outDir) / "device").string(), options_.pluginPath,
                  options_.assetsDir);
    setPlatformWallClock(
        [] { return kWallClockAtStart + std::int64_t(std::floor(MainQueue::shared().now())); });
    setPlatformRandom(nullptr);
    platformSeedRandom(1);
    std::ostream* errors = options_.errors;
    HBPreferences::setProblemHandler([errors](const std::string& path, const std::string& why) {
        if (errors)
            *errors << "vey-sim: the settings file " << path << " " << why
                    << "; the plug-in keeps its last settings" << std::endl;
    });
}

Simulator::~Simulator() {
    HBPreferences::setProblemHandler(nullptr);
    setPlatformWallClock(nullptr);
}

void Simulator::run(const Scenario& scenario) {
    for (const Command& c : scenario.commands) {
        try {
            execute(scenario, c);
        } catch (const std::bad_alloc&) {
            failRun(scenario, c, "out of memory");
        }
    }
}

void Simulator::execute(const Scenario& scenario, const Command& c) {
    auto fail = [&](const std::string& problem) {
        throw ScenarioError(scenario.file, c.line, problem);
    };
    MRNowPlayingService& media = MRNowPlayingService::shared();
    using K = Command::Kind;
    switch (c.kind) {
    case K::Device:
        if (launched_) fail("device: only allowed before launch");
        device_ = c.device;
        UIScreen::mainScreen()->setSize(CGSizeMake(device_.width, device_.height));
        UIScreen::mainScreen()->setScale(device_.scale);
        UIDevice::currentDevice()->setSystemVersion(device_.version);
        UIDevice::currentDevice()->setName(device_.name);
        break;
    case K::Pref:
    case K::Prefs:
        writeSettings(scenario, c);
        break;
    case K::Launch:
        if (launched_) fail("launch: SpringBoard has already launched");
        SBLaunch();
        launched_ = true;
        break;
    case K::Play:
        media.play(track(scenario, c));
        break;
    case K::Queue:
        media.enqueue(track(scenario, c));
        break;
    case K::Stop:
        media.stop();
        break;
    case K::Pause:
        media.setPlaying(false);
        break;
    case K::Resume:
        media.setPlaying(true);
        break;
    case K::Tap: {
        auto* control = cast<UIControl>(playerView(scenario, c, c.property));
        if (!control) fail("'" + c.property + "' is not a control and cannot be tapped");
        control->sendActionsForControlEvents(UIControlEventTouchUpInside);
        break;
    }
    case K::Swipe:
        UISwipeGestureRecognizer::deliverSwipe(playerView(scenario, c, attachedRootProperty()),
                                               UISwipeGestureRecognizerDirectionDown);
        break;
    case K::Route:
        SBSetAudioRoute(c.route);
        break;
    case K::Theme:
        if (!respondsToSelector(coverSheet(), sel("forceLightTheme")))
            fail("theme: the cover sheet has no forceLightTheme (is the plug-in enabled?)");
        send(coverSheet(), "forceLightTheme");
        break;
    case K::Layout:
        if (!SBCurrentLockScreen()) fail("layout: SpringBoard has not launched yet");
        SBCurrentLockScreen()->layoutAll();
        break;
    case K::Wait:
        MainQueue::shared().runFor(c.seconds);
        break;
    case K::Dump: {
        std::string path = outputPath(scenario, c), problem;
        if (!writeOutputFile(path, dump().dump(), &problem)) failRun(scenario, c, problem);
        written(path);
        break;
    }
    case K::Snapshot:
    case K::Film: {
        std::string path = outputPath(scenario, c), problem;
        std::vector<std::string> files;
        bool writeFailed = false;
        if (options_.progress && c.kind == K::Film)
            setFilmProgress([&](long frame, long count) {
                *options_.progress << "\r" << path << ": frame " << frame << " of " << count
                                   << std::flush;
            });
        bool ok = c.kind == K::Snapshot ? renderSnapshot(nullptr, 0, path, &problem, &writeFailed)
                                        : renderFilm(nullptr, 0, path, c.seconds, c.fps, &problem,
                                                     &files, &writeFailed);
        if (options_.progress && c.kind == K::Film) {
            setFilmProgress(nullptr);
            *options_.progress << "\r\033[K" << std::flush;
        }
        if (ok && c.kind == K::Snapshot) files.push_back(path);
        for (const std::string& f : files)
            written(f);
        if (writeFailed) failRun(scenario, c, problem);
        if (!ok) fail(std::string(c.kind == K::Snapshot ? "snapshot: " : "film: ") + problem);
        break;
    }
    case K::Expect: {
        ExpectOutcome outcome = checkExpectation(c.expectation, dump());
        if (outcome.kind == ExpectOutcome::Kind::Error) fail("expect: " + outcome.message);
        if (outcome.kind == ExpectOutcome::Kind::Fails) failed(scenario, c, outcome.message);
        break;
    }
    case K::Match:
        match(scenario, c);
        break;
    }
    // The command ran outside a main-queue turn: finish its turn (layout passes), then run
    // what it made due now.
    UIKitEndTurn();
    MainQueue::shared().runPending();
}

void Simulator::writeSettings(const Scenario& scenario, const Command& c) {
    std::string problem;
    if (c.kind == Command::Kind::Pref) {
        PreferenceValue value =
            c.boolValue ? PreferenceValue(*c.boolValue) : PreferenceValue(c.value);
        std::erase_if(settings_, [&](auto& entry) { return entry.first == c.key; });
        settings_.emplace_back(c.key, value);
        if (!HBWritePreferences(kSettingsDomain, settings_, PlistFormat::XML, &problem))
            throw ScenarioError(scenario.file, c.line, "pref: " + problem);
    } else {
        if (!HBInstallPreferencesFile(kSettingsDomain, c.path, &problem))
            throw ScenarioError(scenario.file, c.line, "prefs: " + problem);
        // Remember what the file holds, so that a later pref adds to it. The store reads a
        // number under a string setting as its text, so numbers keep their meaning.
        settings_.clear();
        for (auto& [key, object] : prefs::readDomainFile(c.path)) {
            if (auto* number = cast<NSNumber>(object))
                settings_.emplace_back(key, number->isBool()
                                                ? PreferenceValue(number->boolValue())
                                                : PreferenceValue(number->description()));
            else if (auto* text = cast<NSString>(object))
                settings_.emplace_back(key, PreferenceValue(text->str()));
        }
    }
    if (launched_) notify_post(HBPreferences::reloadNotificationName(kSettingsDomain));
}

MRTrack Simulator::track(const Scenario& scenario, const Command& c) {
    MRTrack track;
    track.title = c.track.title;
    track.artist = c.track.artist;
    if (c.track.artworkPath.empty()) return track;
    std::error_code error;
    std::string key = fs::weakly_canonical(c.track.artworkPath, error).string();
    if (error) key = c.track.artworkPath;
    if (auto it = artwork_.find(key); it != artwork_.end()) {
        track.artworkData = it->second;
        return track;
    }
    auto fail = [&](const std::string& problem) {
        throw ScenarioError(scenario.file, c.line, problem);
    };
    auto size = fs::file_size(c.track.artworkPath, error);
    if (error) fail("cannot read the artwork file");
    if (size > kMaxArtworkBytes) fail("the artwork file is too large (over 32 MiB)");
    if (size > options_.artworkBudget - artworkBytes_)
        fail("the scenario's artwork passes " +
             (options_.artworkBudget >= (1u << 20)
                  ? std::to_string(options_.artworkBudget >> 20) + " MiB"
                  : std::to_string(options_.artworkBudget >> 10) + " KiB") +
             " in all (each file counts once)");
    std::ifstream in(c.track.artworkPath, std::ios::binary);
    std::vector<std::uint8_t> bytes(size);
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(size));
    if (in.bad()) fail("cannot read the artwork file");
    bytes.resize(std::size_t(in.gcount()));
    artworkBytes_ += bytes.size();
    // Bytes that do not decode go to the host as they are.
    track.artworkData = artwork_[key] = NSData::make(std::move(bytes));
    return track;
}

std::string Simulator::outputPath(const Scenario& scenario, const Command& c) {
    fs::path path(options_.outDir);
    fs::path name(c.path);
    for (auto part = name.begin(); part != name.end(); ++part) {
        path /= *part;
        if (std::next(part) == name.end()) break;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST)
                failRun(scenario, c,
                        "cannot create " + path.string() + ": " + std::strerror(errno));
        } else if (S_ISLNK(st.st_mode)) {
            failRun(scenario, c,
                    "cannot write " + (fs::path(options_.outDir) / name).string() + ": " +
                        path.string() + " is a link, and outputs stay inside the output folder");
        } else if (!S_ISDIR(st.st_mode)) {
            failRun(scenario, c, "cannot create " + path.string() + ": " + std::strerror(ENOTDIR));
        }
    }
    return path.string();
}

void Simulator::match(const Scenario& scenario, const Command& c) {
    auto fail = [&](const std::string& problem) {
        throw ScenarioError(scenario.file, c.line, "match: " + problem);
    };
    std::string problem;
    CGImageRef actual = renderScreen({}, &problem);
    if (!actual) fail(problem);
    auto write = [&](const CGImageRef& image, const std::string& path) {
        if (!writePNG(image, path, &problem)) failRun(scenario, c, problem);
        written(path);
        return path;
    };
    // NAME.actual.png and NAME.diff.png in the output folder.
    auto writeOutput = [&](const CGImageRef& image, const char* suffix) {
        Command output = c;
        output.path = c.path.substr(0, c.path.size() - 4) + suffix;
        return write(image, outputPath(scenario, output));
    };
    if (options_.record) {
        std::error_code ignored; // a folder that cannot be made fails the write below
        fs::create_directories(fs::path(c.goldenPath).parent_path(), ignored);
        write(actual, c.goldenPath);
        return;
    }
    bool missing = false;
    CGImageRef golden = readGolden(c.goldenPath, &problem, &missing);
    if (missing) {
        std::string shot = writeOutput(actual, ".actual.png");
        failed(scenario, c,
               "expected the screen to match " + c.path + " but there is no golden image " +
                   c.goldenPath +
                   "; run with --record to make it from this run (the screen is in " + shot + ")");
        return;
    }
    if (!golden) fail("the golden image " + c.path + " cannot be used: " + problem);
    auto size = [](const CGImage& image) {
        return std::to_string(image.width) + " x " + std::to_string(image.height) + " pixels";
    };
    if (golden->width != actual->width || golden->height != actual->height) {
        writeOutput(actual, ".actual.png");
        fail("the golden image " + c.path + " is " + size(*golden) + " but the screen is " +
             size(*actual));
    }
    ImageDifference difference = compareImages(*actual, *golden, c.perPixel);
    double share = 100.0 * double(difference.differing) / double(difference.pixels);
    if (share <= c.tolerancePercent) return;
    std::string shot = writeOutput(actual, ".actual.png");
    std::string diff = writeOutput(difference.diff, ".diff.png");
    char percent[32];
    std::snprintf(percent, sizeof percent, "%.3g%%", share);
    failed(scenario, c,
           "expected the screen to match " + c.path + " but " + percent +
               " of its pixels differ (" + std::to_string(difference.differing) + " of " +
               std::to_string(difference.pixels) + "; at most " + jsonNumber(c.tolerancePercent) +
               "% may), by up to " + std::to_string(difference.largest) + "/255; see " + shot +
               " and " + diff);
}

void Simulator::failed(const Scenario& scenario, const Command& c, const std::string& message) {
    failures_++;
    if (options_.errors)
        *options_.errors << scenario.file << ":" << c.line << ": " << message << std::endl;
}

void Simulator::written(const std::string& path) {
    written_.push_back(path);
    if (options_.log) *options_.log << path << std::endl;
}

} // namespace sim
