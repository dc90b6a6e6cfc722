// Writing a domain file, for the simulator's settings commands and tests.
#include "platform/preferences/preferences.h"

#include <plist/plist.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
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
    std::string why = ec.message();
    fs::remove(tmp, ec);
    return fail(error, "cannot write " + path + ": " + why);
}

// The XML form, written here rather than by libplist so that every character is escaped the
// way readers need ("\r" would otherwise read back as "\n").
std::string xmlText(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '\r':
            out += "&#13;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string xmlDomain(const std::vector<std::pair<std::string, PreferenceValue>>& values) {
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n";
    for (auto& [key, value] : values) {
        out += "\t<key>" + xmlText(key) + "</key>\n\t";
        if (value.isBool)
            out += value.boolean ? "<true/>" : "<false/>";
        else
            out += "<string>" + xmlText(value.string) + "</string>";
        out += "\n";
    }
    return out + "</dict>\n</plist>\n";
}

std::string binaryDomain(const std::vector<std::pair<std::string, PreferenceValue>>& values) {
    plist_t dict = plist_new_dict();
    for (auto& [key, value] : values)
        plist_dict_set_item(dict, key.c_str(),
                            value.isBool ? plist_new_bool(value.boolean)
                                         : plist_new_string(value.string.c_str()));
    char* bytes = nullptr;
    std::uint32_t length = 0;
    plist_to_bin(dict, &bytes, &length);
    plist_free(dict);
    std::string out = bytes ? std::string(bytes, length) : std::string();
    std::free(bytes);
    return out;
}

} // namespace

std::string HBPreferencesTextProblem(std::string_view text) {
    auto hex = [](unsigned c) {
        const char* digits = "0123456789abcdef";
        return std::string("\\x") + digits[c >> 4 & 15] + digits[c & 15];
    };
    for (std::size_t i = 0; i < text.size();) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
            return "holds the control character " + hex(c) + ", which a settings file cannot hold";
        if (c < 0x80) {
            i++;
            continue;
        }
        // The length a lead byte announces, and the smallest code point of that length.
        int n = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
        if (c > 0xF4) n = 0;
        std::uint32_t cp = n == 2 ? c & 0x1F : n == 3 ? c & 0x0F : c & 0x07;
        bool ok = n > 0 && i + n <= text.size();
        for (int k = 1; ok && k < n; k++) {
            auto b = static_cast<unsigned char>(text[i + k]);
            ok = (b & 0xC0) == 0x80;
            cp = cp << 6 | (b & 0x3F);
        }
        ok = ok && !(n == 3 && cp < 0x800) && !(n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) &&
             !(cp >= 0xD800 && cp <= 0xDFFF);
        if (!ok) return "is not valid UTF-8 (byte " + hex(c) + ")";
        if (cp == 0xFFFE || cp == 0xFFFF)
            return "holds U+" + std::string(cp == 0xFFFE ? "FFFE" : "FFFF") +
                   ", which a settings file cannot hold";
        i += std::size_t(n);
    }
    return "";
}

bool HBWritePreferences(std::string_view domain,
                        const std::vector<std::pair<std::string, PreferenceValue>>& values,
                        PlistFormat format, std::string* error) {
    std::string path = targetPath(domain, error);
    if (path.empty()) return false;
    // One entry per key, where it first appears, with its last value.
    std::vector<std::pair<std::string, PreferenceValue>> entries;
    for (auto& [key, value] : values) {
        if (std::string why = HBPreferencesTextProblem(key); !why.empty())
            return fail(error, "a key " + why);
        if (std::string why = HBPreferencesTextProblem(value.string); !why.empty())
            return fail(error, "the value of \"" + key + "\" " + why);
        auto same = std::find_if(entries.begin(), entries.end(),
                                 [&](auto& entry) { return entry.first == key; });
        if (same != entries.end())
            same->second = value;
        else
            entries.emplace_back(key, value);
    }
    std::string bytes = format == PlistFormat::Binary ? binaryDomain(entries) : xmlDomain(entries);
    if (bytes.empty()) return fail(error, "cannot encode the settings of " + std::string(domain));
    if (!makeFolder(path, error)) return false;

    std::string tmp = temporaryBeside(path);
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        out.close();
        if (!out) {
            int saved = errno;
            std::error_code ec;
            fs::remove(tmp, ec);
            return fail(error, "cannot write " + tmp + ": " + std::strerror(saved));
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
