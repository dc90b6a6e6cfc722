#include "platform/runtime/loader.h"

#include "platform/foundation/foundation.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <plist/plist.h>

namespace fs = std::filesystem;

namespace {

fs::path pluginFolder() {
    return fs::path(NSDeviceRoot()) / "Library" / "MobileSubstrate" / "DynamicLibraries";
}

// Whether the filter at `path` names the bundle. A filter that cannot be read maps nothing.
bool filterNames(const fs::path& path, const std::string& bundle) {
    std::error_code ec;
    auto size = fs::file_size(path, ec);
    if (ec || size == 0 || size > (1u << 20)) return false;
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    plist_t root = nullptr;
    plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
    if (!root) return false;
    bool found = false;
    plist_t filter =
        plist_get_node_type(root) == PLIST_DICT ? plist_dict_get_item(root, "Filter") : nullptr;
    plist_t bundles = filter && plist_get_node_type(filter) == PLIST_DICT
                          ? plist_dict_get_item(filter, "Bundles")
                          : nullptr;
    if (bundles && plist_get_node_type(bundles) == PLIST_ARRAY) {
        for (uint32_t i = 0; i < plist_array_get_size(bundles) && !found; i++) {
            plist_t item = plist_array_get_item(bundles, i);
            if (plist_get_node_type(item) != PLIST_STRING) continue;
            char* s = nullptr;
            plist_get_string_val(item, &s);
            found = s && bundle == s;
            std::free(s);
        }
    }
    plist_free(root);
    return found;
}

std::vector<void*>& handles() {
    static auto* h = new std::vector<void*>();
    return *h;
}

} // namespace

std::vector<void*> substrateLoadPlugins(const std::string& bundleIdentifier) {
    std::vector<void*> mapped;
    std::error_code ec;
    std::vector<fs::path> libraries;
    for (auto& entry : fs::directory_iterator(pluginFolder(), ec))
        if (entry.path().extension() == ".dylib") libraries.push_back(entry.path());
    std::sort(libraries.begin(), libraries.end());
    for (auto& lib : libraries) {
        if (!filterNames(fs::path(lib).replace_extension(".plist"), bundleIdentifier)) continue;
        void* h = dlopen(lib.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!h) {
            std::fprintf(stderr, "loader: cannot map %s: %s\n", lib.c_str(), dlerror());
            continue;
        }
        mapped.push_back(h);
        handles().push_back(h);
    }
    return mapped;
}

const std::vector<void*>& substrateLoadedPlugins() {
    return handles();
}

bool substrateInstallPlugin(const std::string& library, const std::string& name,
                            const std::string& bundleIdentifier) {
    std::error_code ec;
    fs::create_directories(pluginFolder(), ec);
    fs::path target = pluginFolder() / (name + ".dylib");
    fs::copy_file(library, target, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        std::fprintf(stderr, "loader: cannot install %s: %s\n", library.c_str(),
                     ec.message().c_str());
        return false;
    }
    plist_t root = plist_new_dict();
    plist_t filter = plist_new_dict();
    plist_t bundles = plist_new_array();
    plist_array_append_item(bundles, plist_new_string(bundleIdentifier.c_str()));
    plist_dict_set_item(filter, "Bundles", bundles);
    plist_dict_set_item(root, "Filter", filter);
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(root, &xml, &length);
    plist_free(root);
    std::ofstream out(pluginFolder() / (name + ".plist"), std::ios::binary);
    out.write(xml, length);
    plist_to_xml_free(xml);
    if (!out) {
        std::fprintf(stderr, "loader: cannot write the filter for %s\n", name.c_str());
        return false;
    }
    return true;
}
