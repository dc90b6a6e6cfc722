#include "platform/foundation/foundation.h"

#include <map>

namespace {
std::string& root() {
    static auto* r = new std::string();
    return *r;
}
struct Observer {
    std::string name;
    std::function<void()> handler;
};
std::map<int, Observer>& observers() {
    static auto* o = new std::map<int, Observer>();
    return *o;
}
} // namespace

void NSSetDeviceRoot(std::string path) {
    root() = std::move(path);
}
const std::string& NSDeviceRoot() {
    return root();
}

int notify_register(std::string name, std::function<void()> handler) {
    static int next = 1;
    observers().emplace(next, Observer{std::move(name), std::move(handler)});
    return next++;
}

void notify_cancel(int token) {
    observers().erase(token);
}

void notify_post(std::string_view name) {
    // A handler may register or cancel others: run over a copy.
    std::vector<std::function<void()>> due;
    for (auto& [token, o] : observers())
        if (o.name == name) due.push_back(o.handler);
    for (auto& h : due)
        h();
}
