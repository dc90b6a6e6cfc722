// The settings store: keeps variables equal to the values of a settings domain, a property-list
// file (binary or XML) at <device root>/Library/Preferences/<domain>.plist. The file is read
// when the store is made and again whenever the host posts "<domain>/ReloadPrefs". A missing,
// unreadable or hostile file counts as a domain with no stored values.
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

  private:
    HBPreferences() = default;
    void reload();

    std::string domain_;
    int token_ = 0;
    std::map<std::string, Ref<NSObject>, std::less<>> values_;
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

// Writes the domain's file under the device root from `values` (later pairs win over earlier
// ones with the same key), creating the folders. Replaces the file in one step. On failure
// returns false and describes why in *error.
bool HBWritePreferences(std::string_view domain,
                        const std::vector<std::pair<std::string, PreferenceValue>>& values,
                        PlistFormat format = PlistFormat::XML, std::string* error = nullptr);

// Copies the file at `source` into place as the domain's file, as it is (no checks on its
// content: the store itself copes with bad files).
bool HBInstallPreferencesFile(std::string_view domain, const std::string& source,
                              std::string* error = nullptr);
