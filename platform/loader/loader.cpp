#include "platform/loader/loader.h"

#include "platform/foundation/foundation.h"
#include "platform/preferences/plist_file.h"

#include <algorithm>
#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <plist/plist.h>

namespace fs = std::filesystem;

namespace {

fs::path pluginFolder() {
    return fs::path(NSDeviceRoot()) / "Library" / "MobileSubstrate" / "DynamicLibraries";
}

// Whether the filter at `path` names the bundle. The file is read as untrusted, like a
// settings domain: one that cannot be read maps nothing.
bool filterNames(const fs::path& path, const std::string& bundle) {
    prefs::Values root = prefs::readDomainFile(path.string());
    auto filter = root.find("Filter");
    auto* dict = filter == root.end() ? nullptr : cast<NSDictionary>(filter->second.get());
    auto* bundles = dict ? cast<NSArray>(dict->objectForKey("Bundles")) : nullptr;
    if (!bundles) return false;
    for (const Ref<NSObject>& item : bundles->items())
        if (auto* name = cast<NSString>(item.get()); name && name->str() == bundle) return true;
    return false;
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
