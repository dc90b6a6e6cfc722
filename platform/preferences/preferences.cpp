// The settings store: bound variables kept equal to the domain file's values or their defaults.
#include "platform/preferences/preferences.h"

#include "platform/preferences/plist_file.h"

VEY_CLASS_IMPL(HBPreferences, NSObject::cls(), [](Class) {})

namespace {

bool boolFrom(NSObject* value, bool fallback) {
    if (auto* n = cast<NSNumber>(value)) return n->boolValue();
    if (auto* s = cast<NSString>(value)) return s->boolValue();
    return fallback;
}

// A real boolean's description is "1" / "0", an integer's its digits, a real's shortest text.
std::string stringFrom(NSObject* value, const std::string& fallback) {
    if (auto* s = cast<NSString>(value)) return s->str();
    if (auto* n = cast<NSNumber>(value)) return n->description();
    return fallback;
}

HBPreferences::ProblemHandler& problemHandler() {
    static HBPreferences::ProblemHandler handler;
    return handler;
}

} // namespace

Ref<HBPreferences> HBPreferences::initWithIdentifier(std::string domain) {
    auto prefs = alloc<HBPreferences>();
    prefs->domain_ = std::move(domain);
    prefs->read();
    // The store cancels this in its destructor, so the raw pointer never dangles.
    HBPreferences* self = prefs.get();
    prefs->token_ = notify_register(reloadNotificationName(prefs->domain_), [self] {
        self->read();
        for (auto& bind : self->bindings_)
            bind();
    });
    return prefs;
}

HBPreferences::~HBPreferences() {
    if (token_) notify_cancel(token_);
}

void HBPreferences::registerBool(bool* variable, bool defaultValue, std::string key) {
    if (!variable) return;
    auto bind = [this, variable, defaultValue, key = std::move(key)] {
        *variable = boolFrom(objectForKey(key), defaultValue);
    };
    bind();
    bindings_.push_back(std::move(bind));
}

void HBPreferences::registerObject(std::string* variable, std::string defaultValue,
                                   std::string key) {
    if (!variable) return;
    auto bind = [this, variable, defaultValue = std::move(defaultValue), key = std::move(key)] {
        *variable = stringFrom(objectForKey(key), defaultValue);
    };
    bind();
    bindings_.push_back(std::move(bind));
}

NSObject* HBPreferences::objectForKey(std::string_view key) const {
    auto it = values_.find(key);
    return it == values_.end() ? nullptr : it->second.get();
}

void HBPreferences::read() {
    std::string path = pathForDomain(domain_);
    prefs::DomainRead result = prefs::readDomain(path);
    if (result.status != prefs::DomainRead::Status::Damaged) {
        values_ = std::move(result.values);
        damaged_ = false;
        return;
    }
    if (!damaged_ && problemHandler()) problemHandler()(path, result.problem);
    damaged_ = true;
}

void HBPreferences::setProblemHandler(ProblemHandler handler) {
    problemHandler() = std::move(handler);
}

std::string HBPreferences::pathForDomain(std::string_view domain) {
    const std::string& root = NSDeviceRoot();
    // The domain names a file in one folder; it may not lead out of it.
    if (root.empty() || domain.empty() || domain == "." || domain == ".." ||
        domain.find('/') != std::string_view::npos || domain.find('\0') != std::string_view::npos)
        return "";
    return root + "/Library/Preferences/" + std::string(domain) + ".plist";
}

std::string HBPreferences::reloadNotificationName(std::string_view domain) {
    return std::string(domain) + "/ReloadPrefs";
}
