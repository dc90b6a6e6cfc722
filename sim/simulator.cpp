#include "sim/simulator.h"

#include "platform/graphics/random.h"
#include "platform/preferences/plist_file.h"
#include "platform/springboard/springboard.h"
#include "sim/device.h"
#include "sim/render/render.h"

#include <filesystem>
#include <fstream>
#include <ostream>

namespace fs = std::filesystem;

namespace sim {

namespace {

// Artwork larger than this is refused before it is read.
constexpr std::uintmax_t kMaxArtworkBytes = 32u << 20;

MRTrack makeTrack(const Scenario& scenario, const Command& c) {
    MRTrack track;
    track.title = c.track.title;
    track.artist = c.track.artist;
    if (c.track.artworkPath.empty()) return track;
    std::error_code error;
    auto size = fs::file_size(c.track.artworkPath, error);
    if (error) throw ScenarioError(scenario.file, c.line, "cannot read the artwork file");
    if (size > kMaxArtworkBytes)
        throw ScenarioError(scenario.file, c.line, "the artwork file is too large (over 32 MiB)");
    std::ifstream in(c.track.artworkPath, std::ios::binary);
    std::vector<std::uint8_t> bytes(size);
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(size));
    if (in.bad()) throw ScenarioError(scenario.file, c.line, "cannot read the artwork file");
    bytes.resize(std::size_t(in.gcount()));
    // Bytes that do not decode go to the host as they are.
    track.artworkData = NSData::make(std::move(bytes));
    return track;
}

CSCoverSheetView* coverSheet() {
    SBLockScreen* ls = SBCurrentLockScreen();
    return ls ? ls->coverSheet.get() : nullptr;
}

// The attached view property `name` of the cover sheet, or an error that says why not.
UIView* attachedView(const Scenario& scenario, const Command& c, const std::string& name) {
    CSCoverSheetView* cs = coverSheet();
    const objc_method* m = cs ? class_lookupMethod(object_getClass(cs), sel(name)) : nullptr;
    if (!m || m->types != "@@:")
        throw ScenarioError(scenario.file, c.line,
                            "the cover sheet has no property '" + name +
                                "' (is the plug-in installed and enabled?)");
    id value = send<id>(cs, sel(name));
    if (!value) throw ScenarioError(scenario.file, c.line, "'" + name + "' is not set yet");
    auto* view = cast<UIView>(value);
    if (!view) throw ScenarioError(scenario.file, c.line, "'" + name + "' is not a view");
    return view;
}

} // namespace

Simulator::Simulator(RunOptions options) : options_(std::move(options)) {
    // Seeds taken from the wall clock (the artwork's grain) must not change the pictures from
    // one run to the next: the phone's clock reads Tuesday 9 January 2024, 9:41.
    setPlatformWallClock([] { return std::int64_t(1704793260); });
    prepareDevice((fs::path(options_.outDir) / "device").string(), options_.pluginPath,
                  options_.assetsDir);
}

void Simulator::run(const Scenario& scenario) {
    for (const Command& c : scenario.commands)
        execute(scenario, c);
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
        media.play(makeTrack(scenario, c));
        break;
    case K::Queue:
        media.enqueue(makeTrack(scenario, c));
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
        auto* control = cast<UIControl>(attachedView(scenario, c, c.property));
        if (!control) fail("'" + c.property + "' is not a control and cannot be tapped");
        control->sendActionsForControlEvents(UIControlEventTouchUpInside);
        break;
    }
    case K::Swipe:
        UISwipeGestureRecognizer::deliverSwipe(attachedView(scenario, c, "veyView"),
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
    case K::Dump:
        writeOutput(scenario, c, dump().dump());
        break;
    case K::Snapshot:
    case K::Film: {
        fs::path path = fs::path(options_.outDir) / c.path;
        std::error_code error;
        fs::create_directories(path.parent_path(), error);
        std::string problem;
        std::vector<std::string> files;
        bool ok = c.kind == K::Snapshot
                      ? renderSnapshot(nullptr, 0, path.string(), &problem)
                      : renderFilm(nullptr, 0, path.string(), c.seconds, c.fps, &problem, &files);
        if (ok && c.kind == K::Snapshot) files.push_back(path.string());
        for (const std::string& f : files) {
            written_.push_back(f);
            if (options_.log) *options_.log << f << std::endl;
        }
        if (!ok) fail(std::string(c.kind == K::Snapshot ? "snapshot: " : "film: ") + problem);
        break;
    }
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

void Simulator::writeOutput(const Scenario& scenario, const Command& c, const std::string& text) {
    fs::path path = fs::path(options_.outDir) / c.path;
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) throw ScenarioError(scenario.file, c.line, "cannot write " + path.string());
    written_.push_back(path.string());
    if (options_.log) *options_.log << path.string() << std::endl;
}

} // namespace sim
