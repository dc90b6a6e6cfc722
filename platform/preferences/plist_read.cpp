// Reading a domain file into foundation values.
#include "platform/preferences/plist_file.h"

#include <plist/plist.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class FileRead { Missing, Ok, Failed };

// The whole file. Opened non-blocking so that a FIFO in its place cannot stall the host.
FileRead readBounded(const std::string& path, std::string& out, std::string& problem) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return FileRead::Missing;
        problem = std::string("cannot be opened: ") + std::strerror(errno);
        return FileRead::Failed;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        problem = "is not a regular file";
    else if (static_cast<std::uint64_t>(st.st_size) > prefs::kMaxFileBytes)
        problem = "is larger than 1 MiB";
    out.clear();
    if (problem.empty()) {
        // One byte more than fstat promised shows a file still being written: skip it.
        out.resize(static_cast<std::size_t>(st.st_size) + 1);
        std::size_t used = 0;
        while (used < out.size()) {
            ssize_t n = ::read(fd, out.data() + used, out.size() - used);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                problem = std::string("cannot be read: ") + std::strerror(errno);
                break;
            }
            if (n == 0) break;
            used += static_cast<std::size_t>(n);
        }
        if (problem.empty() && used == out.size()) problem = "changed while it was read";
        out.resize(used);
    }
    ::close(fd);
    return problem.empty() ? FileRead::Ok : FileRead::Failed;
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

prefs::DomainRead prefs::readDomain(const std::string& path) {
    DomainRead result;
    std::string bytes;
    if (path.empty()) return result;
    FileRead read = readBounded(path, bytes, result.problem);
    if (read == FileRead::Missing) return result;
    result.status = DomainRead::Status::Damaged;
    if (read == FileRead::Failed) return result;

    std::string_view text = bytes;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        result.problem = "is empty";
        return result;
    }
    plist_t raw = nullptr;
    std::optional<std::string> screened;
    if (text.starts_with("bplist")) {
        screened = screenBinaryPlist(text, &result.problem);
        if (screened)
            plist_from_bin(screened->data(), static_cast<std::uint32_t>(screened->size()), &raw);
    } else if (text[first] == '<') {
        screened = screenXmlPlist(text, &result.problem);
        if (screened)
            plist_from_xml(screened->data(), static_cast<std::uint32_t>(screened->size()), &raw);
    } else {
        std::optional<Values> values = parseOpenStepPlist(text, &result.problem);
        if (!values) return result;
        result.values = std::move(*values);
        result.status = DomainRead::Status::Good;
        return result;
    }
    PlistPtr root(raw);
    if (!screened) return result;
    if (!root) {
        result.problem = "is not a property list";
        return result;
    }
    if (plist_get_node_type(root.get()) != PLIST_DICT) {
        result.problem = "holds no dictionary at its top";
        return result;
    }
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
        if (auto object = toObject(value, 1); object && key) result.values[key] = object;
        free(key);
    }
    free(it);
    result.status = DomainRead::Status::Good;
    return result;
}

prefs::Values prefs::readDomainFile(const std::string& path) {
    DomainRead read = readDomain(path);
    return read.status == DomainRead::Status::Good ? std::move(read.values) : Values();
}
