// The state dump: time, the plug-in's shared state and settings, the cover sheet's attached
// views, and the host's side (media commands and the host views the plug-in changes).
#include "platform/springboard/springboard.h"
#include "sim/attached_views.h"
#include "sim/plugin_state.h"
#include "sim/simulator.h"
#include "sim/view_json.h"

namespace sim {

namespace {

const char* routeToken(MPRouteKind kind) {
    for (const char* token :
         {"speaker", "headphones", "airpods", "airpods-pro", "airpods-max", "airpods-gen3"}) {
        MPRouteKind k;
        if (MPRouteKindFromString(token, &k) && k == kind) return token;
    }
    return "speaker";
}

Json mediaJson(bool launched) {
    Json host = Json::object();
    Json commands = Json::array();
    if (launched)
        for (const SBMediaCommand& c : SBMediaController::sharedInstance()->commands()) {
            Json entry = Json::object();
            entry.set("command", c.command);
            if (c.delta) entry.set("delta", *c.delta);
            entry.set("eventSource", static_cast<long long>(c.eventSource));
            entry.set("accepted", c.accepted);
            commands.push(std::move(entry));
        }
    host.set("mediaCommands", std::move(commands));
    MRNowPlayingService& service = MRNowPlayingService::shared();
    Json nowPlaying;
    if (const MRTrack* track = service.currentTrack()) {
        nowPlaying = Json::object();
        nowPlaying.set("title", track->title ? Json(*track->title) : Json());
        nowPlaying.set("artist", track->artist ? Json(*track->artist) : Json());
        nowPlaying.set("hasArtwork", track->artworkData != nullptr);
        nowPlaying.set("index", service.currentIndex());
        nowPlaying.set("count", service.queue().size());
    }
    host.set("nowPlaying", std::move(nowPlaying));
    host.set("playing", service.isPlaying());
    host.set("route", routeToken(MPCurrentSystemAudioRouteKind()));
    return host;
}

} // namespace

Json Simulator::dump() const {
    Json out = Json::object();
    out.set("time", MainQueue::shared().now());
    out.set("launched", launched_);
    out.set("pluginLoaded", pluginLoaded());
    Json device = Json::object();
    device.set("width", device_.width);
    device.set("height", device_.height);
    device.set("scale", device_.scale);
    device.set("version", device_.version);
    device.set("name", device_.name);
    out.set("device", std::move(device));

    Json state = Json::object();
    for (const PluginVariable& v : sharedStateVariables())
        state.set(v.name, variableJson(v, &objectJson));
    out.set("state", std::move(state));
    Json settings = Json::object();
    for (const PluginVariable& v : settingVariables())
        settings.set(v.name, variableJson(v, &objectJson));
    out.set("settings", std::move(settings));

    SBLockScreen* ls = SBCurrentLockScreen();
    UIView* cs = ls ? ls->coverSheet.get() : nullptr;
    ViewNames names;
    const std::vector<std::string> properties = attachedViewProperties();
    for (const std::string& name : properties)
        if (UIView* view = attachedView(cs, name)) names.emplace_back(view, name);
    Json views = Json::object();
    for (const std::string& name : properties) {
        UIView* view = attachedView(cs, name);
        Json entry = viewJson(view, names);
        if (view && respondsToSelector(view, sel("outlineWidth"))) addOutline(entry, view);
        views.set(name, std::move(entry));
    }
    out.set("views", std::move(views));

    Json host = mediaJson(launched_);
    MRUMediaControlsController* controls = ls ? ls->lockScreenControls() : nullptr;
    host.set("notificationList", viewJson(ls ? ls->notificationList.get() : nullptr, names));
    host.set("adjunctStack", viewJson(ls ? ls->adjunctStack.get() : nullptr, names));
    host.set("stockPlayer", viewJson(ls ? ls->platter.get() : nullptr, names));
    host.set("callToActionLabel",
             viewJson(ls ? ls->teachableMoments->callToActionLabel() : nullptr, names));
    host.set("timeControl", viewJson(controls ? controls->legacyTimeControl() : nullptr, names));
    host.set("newTimeControl", viewJson(controls ? controls->timeControlsView() : nullptr, names));
    host.set("routeLabel", viewJson(controls ? controls->routeLabel() : nullptr, names));
    MRUNowPlayingHeaderView* header = controls ? controls->headerView() : nullptr;
    host.set("routePickerPresentations",
             header ? header->routingButton()->pickerPresentations() : 0);
    out.set("host", std::move(host));
    return out;
}

} // namespace sim
