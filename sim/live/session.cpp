#include "sim/live/session.h"

#include "sim/attached_views.h"

#include "platform/springboard/springboard.h"
#include "sim/live/window.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <ostream>

namespace fs = std::filesystem;

namespace sim {

namespace {

CSCoverSheetView* coverSheet() {
    SBLockScreen* ls = SBCurrentLockScreen();
    return ls ? ls->coverSheet.get() : nullptr;
}

UIView* attachedView(const std::string& name) {
    return sim::attachedView(coverSheet(), name);
}

bool inheritsFrom(Class c, Class base) {
    for (; c; c = c->superclass)
        if (c == base) return true;
    return false;
}

// The cover sheet's properties that hold controls, as `tap` names them.
std::vector<std::string> controlProperties() {
    std::vector<std::string> names;
    Class cover = objc_getClass("CSCoverSheetView");
    Class control = objc_getClass("UIControl");
    if (!cover || !control) return names;
    for (const objc_property& p : cover->properties)
        for (const auto& [attribute, type] : p.attributes)
            // "@\"UIButton\"": an object of a named class.
            if (attribute == "T" && type.size() >= 4 && type.compare(0, 2, "@\"") == 0 &&
                inheritsFrom(objc_getClass(type.substr(2, type.size() - 3)), control))
                names.push_back(p.name);
    return names;
}

// Where `view` shows on the screen, or nothing when it cannot be touched: hidden, transparent
// or not interactive itself or through an ancestor, or not in a shown window.
std::optional<CGRect> touchableFrame(UIView* view) {
    UIView* root = view;
    for (UIView* v = view; v; v = v->superview()) {
        if (v->isHidden() || v->alpha() <= 0.01 || !v->isUserInteractionEnabled())
            return std::nullopt;
        root = v;
    }
    auto* window = cast<UIWindow>(root);
    const auto& shown = UIApplication::sharedApplication()->windows();
    if (!window || std::none_of(shown.begin(), shown.end(),
                                [&](const Ref<UIWindow>& w) { return w.get() == window; }))
        return std::nullopt;
    CGRect r = view->convertRectToView(view->bounds(), nullptr);
    CGRect frame = window->frame(), bounds = window->bounds();
    r.origin.x += frame.origin.x - bounds.origin.x;
    r.origin.y += frame.origin.y - bounds.origin.y;
    return r;
}

// Each view's place in drawing order: later ones are drawn over earlier ones.
void numberInDrawingOrder(UIView* view, std::map<const UIView*, int>& order) {
    order[view] = int(order.size());
    for (const Ref<UIView>& sub : view->subviews())
        numberInDrawingOrder(sub, order);
}

bool viewAnimates(const UIView* view, std::int64_t now) {
    if (view->hasRunningAnimations()) return true;
    for (const UIViewTransition& t : view->transitions())
        if (t.begin + t.duration > now) return true;
    for (const Ref<UIView>& sub : view->subviews())
        if (viewAnimates(sub, now)) return true;
    return false;
}

} // namespace

Scenario liveScenario(Scenario scenario, const LiveOptions& options) {
    auto isDevice = [](const Command& c) { return c.kind == Command::Kind::Device; };
    if (std::none_of(scenario.commands.begin(), scenario.commands.end(), isDevice)) {
        Command device;
        device.kind = Command::Kind::Device;
        scenario.commands.insert(scenario.commands.begin(), device);
    }
    for (Command& c : scenario.commands) {
        if (!isDevice(c)) continue;
        if (options.deviceSize) {
            c.device.width = options.deviceSize->width;
            c.device.height = options.deviceSize->height;
        }
        if (options.deviceScale) c.device.scale = *options.deviceScale;
    }
    if (std::none_of(scenario.commands.begin(), scenario.commands.end(),
                     [](const Command& c) { return c.kind == Command::Kind::Launch; })) {
        Command launch;
        launch.kind = Command::Kind::Launch;
        scenario.commands.push_back(launch);
    }
    return scenario;
}

DeviceSpec liveDevice(const Scenario& scenario) {
    DeviceSpec device;
    for (const Command& c : scenario.commands)
        if (c.kind == Command::Kind::Device)
            device = c.device;
        else if (c.kind == Command::Kind::Launch)
            break;
    return device;
}

LiveSession::LiveSession(Simulator& simulator, Scenario scenario, std::string outDir,
                         std::ostream& out, std::ostream& err)
    : simulator_(simulator), scenario_(std::move(scenario)), outDir_(std::move(outDir)), out_(out),
      err_(err) {
    own_.file = "live";
}

void LiveSession::runScenarioSteps() {
    while (waitLeft_ == 0 && next_ < scenario_.commands.size()) {
        const Command& c = scenario_.commands[next_++];
        if (c.kind == Command::Kind::Wait) {
            waitLeft_ = secondsToNanos(c.seconds);
            continue;
        }
        changed_ = true;
        try {
            simulator_.execute(scenario_, c);
        } catch (const ScenarioError& e) {
            err_ << e.what() << "\n"
                 << "vey-sim: the rest of the scenario is skipped\n";
            err_.flush();
            status_ = 2;
            next_ = scenario_.commands.size();
        }
    }
}

void LiveSession::step(std::int64_t nanos) {
    if (nanos <= 0) return;
    MainQueue& queue = MainQueue::shared();
    std::int64_t due = queue.nextDue();
    if (due >= 0 && due <= queue.nowNanos() + nanos) changed_ = true;
    queue.runUntil(queue.nowNanos() + nanos);
    UIKitEndTurn();
    queue.runPending();
}

void LiveSession::advance(std::int64_t nanos) {
    runScenarioSteps();
    while (nanos > 0) {
        std::int64_t stretch = waitLeft_ > 0 ? std::min(nanos, waitLeft_) : nanos;
        step(stretch);
        nanos -= stretch;
        if (waitLeft_ > 0) {
            waitLeft_ -= stretch;
            runScenarioSteps();
        }
    }
}

bool LiveSession::execute(const Command& command, const std::string& shown) {
    out_ << "live: " << shown << std::endl;
    changed_ = true;
    try {
        simulator_.execute(own_, command);
        return true;
    } catch (const ScenarioError& e) {
        err_ << e.what() << std::endl;
        return false;
    }
}

std::string LiveSession::freeName(const char* stem, const char* extension, int& counter) const {
    // Files of an earlier session in the same folder stay.
    for (;;) {
        std::string name = std::string(stem) + "-" + std::to_string(++counter) + extension;
        std::error_code error;
        if (!fs::exists(fs::path(outDir_) / name, error) && !error) return name;
        if (error) return name; // the write reports it
    }
}

bool LiveSession::perform(const LiveCommand& command) {
    using K = LiveCommand::Kind;
    using C = Command::Kind;
    auto make = [](C kind) {
        Command c;
        c.kind = kind;
        return c;
    };
    MRNowPlayingService& media = MRNowPlayingService::shared();
    switch (command.kind) {
    case K::Tap: {
        Command c = make(C::Tap);
        c.property = command.name;
        execute(c, "tap " + command.name);
        break;
    }
    case K::SwipeDown:
        execute(make(C::Swipe), "swipe down");
        break;
    case K::Pause:
        execute(make(C::Pause), "pause");
        break;
    case K::Resume:
        execute(make(C::Resume), "resume");
        break;
    case K::NextTrack:
    case K::PreviousTrack: {
        bool next = command.kind == K::NextTrack;
        out_ << "live: " << (next ? "next track" : "previous track") << std::endl;
        // As the playing app does on a headset's buttons.
        media.changeTrack(next ? 1 : -1);
        UIKitEndTurn();
        MainQueue::shared().runPending();
        changed_ = true;
        break;
    }
    case K::Route: {
        Command c = make(C::Route);
        c.route = command.route;
        execute(c, "route " + routeName(command.route));
        break;
    }
    case K::Theme:
        execute(make(C::Theme), "theme");
        break;
    case K::Layout:
        execute(make(C::Layout), "layout");
        break;
    case K::Snapshot:
    case K::Dump: {
        bool snapshot = command.kind == K::Snapshot;
        Command c = make(snapshot ? C::Snapshot : C::Dump);
        c.path =
            snapshot ? freeName("snapshot", ".png", snapshots_) : freeName("dump", ".json", dumps_);
        execute(c, (snapshot ? "snapshot " : "dump ") + c.path);
        break;
    }
    case K::Quit:
        out_ << "live: quit" << std::endl;
        return false;
    }
    return true;
}

LiveGeometry LiveSession::geometry(CGRect area) const {
    LiveGeometry g;
    g.area = area;
    g.screen = UIScreen::mainScreen()->bounds().size;
    g.playing = MRNowPlayingService::shared().isPlaying();
    g.route = MPCurrentSystemAudioRouteKind();
    if (!coverSheet()) return g;
    std::map<const UIView*, int> order;
    for (const Ref<UIWindow>& w : UIApplication::sharedApplication()->windows())
        numberInDrawingOrder(w, order);
    std::vector<std::pair<int, LiveTarget>> found;
    for (const std::string& name : controlProperties()) {
        UIView* view = attachedView(name);
        if (!view) continue;
        if (auto frame = touchableFrame(view)) found.push_back({order[view], {name, *frame}});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](auto& a, auto& b) { return a.first > b.first; });
    for (auto& [index, target] : found)
        g.targets.push_back(std::move(target));
    if (UIView* player = attachedView(attachedRootProperty()))
        if (auto frame = touchableFrame(player)) g.player = *frame;
    return g;
}

bool LiveSession::animating() const {
    std::int64_t now = MainQueue::shared().nowNanos();
    for (const Ref<UIWindow>& w : UIApplication::sharedApplication()->windows())
        if (!w->isHidden() && viewAnimates(w, now)) return true;
    return false;
}

bool LiveSession::takeChanged() {
    bool changed = changed_;
    changed_ = false;
    return changed;
}

std::int64_t LiveSession::nanosUntilDue() const {
    MainQueue& queue = MainQueue::shared();
    std::int64_t due = queue.nextDue();
    std::int64_t until = due < 0 ? -1 : std::max<std::int64_t>(0, due - queue.nowNanos());
    if (waitLeft_ > 0) until = until < 0 ? waitLeft_ : std::min(until, waitLeft_);
    return until;
}

int runLive(const LiveOptions& options, const std::string& pluginPath, const std::string& assetsDir,
            std::ostream& out, std::ostream& err) {
    std::string path =
        options.scenario.empty() ? (fs::path(assetsDir) / "live.vey").string() : options.scenario;
    Scenario scenario;
    try {
        scenario = liveScenario(parseScenarioFile(path), options);
    } catch (const ScenarioError& e) {
        err << e.what() << "\n";
        return 2;
    }
    DeviceSpec device = liveDevice(scenario);
    std::string problem;
    std::unique_ptr<LiveWindow> window = openLiveWindow(CGSizeMake(device.width, device.height),
                                                        "vey-sim live — " + device.name, &problem);
    if (!window) {
        err << "vey-sim: " << problem << "\n";
        return 2;
    }
    try {
        std::error_code error;
        fs::create_directories(options.outDir, error);
        if (error)
            throw std::runtime_error("cannot create " + options.outDir + ": " + error.message());
        Simulator simulator({options.outDir, pluginPath, assetsDir, &out});
        LiveSession session(simulator, std::move(scenario), options.outDir, out, err);
        window->run(session);
        return session.status();
    } catch (const std::exception& e) {
        err << "vey-sim: " << e.what() << "\n";
        return 1;
    }
}

} // namespace sim
