// Reading a domain file into foundation values.
#include "platform/preferences/plist_file.h"

#include <plist/plist.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The whole file, or false when it is missing, not a regular file or too large. Opened
// non-blocking so that a FIFO in its place cannot stall the host.
bool readBounded(const std::string& path, std::string& out) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
              static_cast<std::uint64_t>(st.st_size) <= prefs::kMaxFileBytes;
    out.clear();
    if (ok) {
        // One byte more than fstat promised shows a file still being written: skip it.
        out.resize(static_cast<std::size_t>(st.st_size) + 1);
        std::size_t used = 0;
        while (used < out.size()) {
            ssize_t n = ::read(fd, out.data() + used, out.size() - used);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                ok = false;
                break;
            }
            if (n == 0) break;
            used += static_cast<std::size_t>(n);
        }
        ok = ok && used < out.size();
        out.resize(used);
    }
    ::close(fd);
    return ok;
}

struct PlistFree {
    void operator()(void* p) const { plist_free(p); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

// Dates and UIDs have no counterpart here: they read as missing.
Ref<NSObject> toObject(plist_t node, int depth) {
    if (depth > prefs::kMaxDepth) return nullptr;
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        std::uint8_t v = 0;
        plist_get_bool_val(node, &v);
        return NSNumber::withBool(v != 0);
    }
    case PLIST_UINT: {
        // Stored as 64 bits; negative integers come back in two's complement.
        std::uint64_t v = 0;
        plist_get_uint_val(node, &v);
        return NSNumber::withInteger(static_cast<std::int64_t>(v));
    }
    case PLIST_REAL: {
        double v = 0;
        plist_get_real_val(node, &v);
        return NSNumber::withDouble(v);
    }
    case PLIST_STRING: {
        std::uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return NSString::make(text ? std::string_view(text, length) : std::string_view());
    }
    case PLIST_DATA: {
        std::uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        return NSData::make(bytes, bytes ? length : 0);
    }
    case PLIST_ARRAY: {
        std::vector<Ref<NSObject>> items;
        for (std::uint32_t i = 0, n = plist_array_get_size(node); i < n; i++)
            if (auto item = toObject(plist_array_get_item(node, i), depth + 1))
                items.push_back(item);
        return NSArray::make(std::move(items));
    }
    case PLIST_DICT: {
        auto dict = NSDictionary::make();
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        for (;;) {
            char* key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, it, &key, &value);
            if (!value) {
                free(key);
                break;
            }
            if (auto object = toObject(value, depth + 1)) dict->setObject(object, key ? key : "");
            free(key);
        }
        free(it);
        return dict;
    }
    default:
        return nullptr;
    }
}

} // namespace

prefs::Values prefs::readDomainFile(const std::string& path) {
    Values values;
    std::string bytes;
    if (path.empty() || !readBounded(path, bytes) || bytes.empty()) return values;

    plist_t raw = nullptr;
    if (plist_is_binary(bytes.data(), static_cast<std::uint32_t>(bytes.size()))) {
        if (!binaryPlistIsSafe(bytes)) return values;
        plist_from_bin(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &raw);
    } else {
        if (!xmlPlistIsSafe(bytes)) return values;
        plist_from_xml(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &raw);
    }
    PlistPtr root(raw);
    if (!root || plist_get_node_type(root.get()) != PLIST_DICT) return values;

    plist_dict_iter it = nullptr;
    plist_dict_new_iter(root.get(), &it);
    for (;;) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(root.get(), it, &key, &value);
        if (!value) {
            free(key);
            break;
        }
        if (auto object = toObject(value, 1); object && key) values[key] = object;
        free(key);
    }
    free(it);
    return values;
}
