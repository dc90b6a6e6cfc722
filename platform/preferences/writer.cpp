// Writing a domain file, for the simulator's settings commands and tests.
#include "platform/preferences/preferences.h"

#include <plist/plist.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool fail(std::string* error, std::string message) {
    if (error) *error = std::move(message);
    return false;
}

std::string targetPath(std::string_view domain, std::string* error) {
    std::string path = HBPreferences::pathForDomain(domain);
    if (path.empty())
        fail(error, NSDeviceRoot().empty()
                        ? "no device root is set"
                        : "invalid settings domain \"" + std::string(domain) + "\"");
    return path;
}

// A temporary file beside `path`, renamed over it once complete, so a reader never sees half
// a file.
std::string temporaryBeside(const std::string& path) {
    return path + ".tmp" + std::to_string(::getpid());
}

bool makeFolder(const std::string& path, std::string* error) {
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    if (ec)
        return fail(error,
                    "cannot create " + fs::path(path).parent_path().string() + ": " + ec.message());
    return true;
}

bool moveIntoPlace(const std::string& tmp, const std::string& path, std::string* error) {
    std::error_code ec;
    fs::rename(tmp, path, ec);
    if (!ec) return true;
    fs::remove(tmp, ec);
    return fail(error, "cannot write " + path);
}

} // namespace

bool HBWritePreferences(std::string_view domain,
                        const std::vector<std::pair<std::string, PreferenceValue>>& values,
                        PlistFormat format, std::string* error) {
    std::string path = targetPath(domain, error);
    if (path.empty() || !makeFolder(path, error)) return false;

    plist_t dict = plist_new_dict();
    for (auto& [key, value] : values)
        plist_dict_set_item(dict, key.c_str(),
                            value.isBool ? plist_new_bool(value.boolean)
                                         : plist_new_string(value.string.c_str()));
    char* bytes = nullptr;
    std::uint32_t length = 0;
    if (format == PlistFormat::Binary)
        plist_to_bin(dict, &bytes, &length);
    else
        plist_to_xml(dict, &bytes, &length);
    plist_free(dict);
    if (!bytes) return fail(error, "cannot encode the settings of " + std::string(domain));

    std::string tmp = temporaryBeside(path);
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out.write(bytes, length);
        out.close();
        std::free(bytes);
        if (!out) {
            std::error_code ec;
            fs::remove(tmp, ec);
            return fail(error, "cannot write " + tmp);
        }
    }
    return moveIntoPlace(tmp, path, error);
}

bool HBInstallPreferencesFile(std::string_view domain, const std::string& source,
                              std::string* error) {
    std::error_code ec;
    if (!fs::is_regular_file(source, ec))
        return fail(error, "settings file " + source + " is not a readable file");
    std::string path = targetPath(domain, error);
    if (path.empty() || !makeFolder(path, error)) return false;
    std::string tmp = temporaryBeside(path);
    fs::copy_file(source, tmp, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        fs::remove(tmp, ec);
        return fail(error, "cannot copy " + source + ": " + ec.message());
    }
    return moveIntoPlace(tmp, path, error);
}
