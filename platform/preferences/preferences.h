// The settings store: keeps variables equal to the values of a settings domain, a property-list
// file (binary or XML) at <device root>/Library/Preferences/<domain>.plist. The file is read
// when the store is made and again whenever the host posts "<domain>/ReloadPrefs". A missing
// file is a domain with no stored values. A file that is there but cannot be used (unreadable,
// damaged, hostile) changes nothing: the values of the last good read stay, so a half-written
// or broken file never resets the settings mid-use.
#pragma once

#include "platform/foundation/foundation.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class HBPreferences : public NSObject {
    VEY_CLASS(HBPreferences)
  public:
    // A store for `domain`, with the domain's file read once.
    static Ref<HBPreferences> initWithIdentifier(std::string domain);
    ~HBPreferences() override;

    // Binds *variable to `key`: it holds the stored value now and after every reload, or
    // `defaultValue` while the key has no value that converts. A nil variable is ignored.
    // Strings and numbers read as boolValue does ("YES", "true", "1" are YES).
    void registerBool(bool* variable, bool defaultValue, std::string key);
    // Numbers read as their decimal text ("15", "2.5"), real booleans as "1" / "0".
    void registerObject(std::string* variable, std::string defaultValue, std::string key);

    // The value stored under `key` at the last read, nil when there is none.
    NSObject* objectForKey(std::string_view key) const;
    const std::string& identifier() const { return domain_; }

    // Where a domain's file lives under the current device root ("" when there is no root).
    static std::string pathForDomain(std::string_view domain);
    static std::string reloadNotificationName(std::string_view domain);

    // Told of a file that cannot be used, with its path and why: once when a store's read
    // goes bad, again only after a good one. The plug-in never hears of it; the simulator
    // reports it. Null: nobody is told.
    using ProblemHandler = std::function<void(const std::string& path, const std::string& why)>;
    static void setProblemHandler(ProblemHandler handler);

  private:
    HBPreferences() = default;
    void read();

    std::string domain_;
    int token_ = 0;
    std::map<std::string, Ref<NSObject>, std::less<>> values_;
    bool damaged_ = false;                        // the last read found a file it could not use
    std::vector<std::function<void()>> bindings_; // each writes one variable from values_
};

// ---------------------------------------------------------------------------------------------
// Writing a domain, for the simulator and tests.

// A stored setting: a boolean or a string.
struct PreferenceValue {
    PreferenceValue(bool v) : isBool(true), boolean(v) {}
    PreferenceValue(std::string v) : string(std::move(v)) {}
    PreferenceValue(const char* v) : string(v) {}
    bool isBool = false;
    bool boolean = false;
    std::string string;
};

enum class PlistFormat { XML, Binary };

// Why `text` cannot go into a settings file as a key or a string ("" when it can): property-list
// readers refuse control characters other than tab, line feed and carriage return, bytes that
// are not UTF-8, and U+FFFE / U+FFFF, since XML cannot hold them even escaped.
std::string HBPreferencesTextProblem(std::string_view text);

// Writes the domain's file under the device root from `values` (later pairs win over earlier
// ones with the same key), creating the folders. Replaces the file in one step. On failure
// (including text that HBPreferencesTextProblem refuses) returns false and describes why in
// *error.
bool HBWritePreferences(std::string_view domain,
                        const std::vector<std::pair<std::string, PreferenceValue>>& values,
                        PlistFormat format = PlistFormat::XML, std::string* error = nullptr);

// Copies the file at `source` into place as the domain's file, as it is (no checks on its
// content: the store itself copes with bad files).
bool HBInstallPreferencesFile(std::string_view domain, const std::string& source,
                              std::string* error = nullptr);
