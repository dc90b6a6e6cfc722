// Test helpers: a device root of its own for each test, and a listing of the runtime.
#pragma once

#include "entry/install.h"
#include "platform/preferences/preferences.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <unistd.h>

struct TestDevice {
    TestDevice() {
        char tmpl[] = "/tmp/vey-test-XXXXXX";
        root = mkdtemp(tmpl);
        NSSetDeviceRoot(root);
    }
    ~TestDevice() { std::filesystem::remove_all(root); }
    void write(const std::vector<std::pair<std::string, PreferenceValue>>& values) {
        std::string error;
        ASSERT_TRUE(HBWritePreferences(kVeyPreferencesDomain, values, PlistFormat::XML, &error))
            << error;
    }
    std::string root;
};

// Every method and property of every class registered so far, by class name.
inline std::map<std::string, std::vector<std::string>> runtimeListing() {
    std::map<std::string, std::vector<std::string>> out;
    for (Class c : objc_classList()) {
        auto& lines = out[c->name];
        for (Class k : {c, object_getClass(c)})
            for (auto& l : class_methodListing(k))
                lines.push_back(l);
        for (auto& l : class_propertyListing(c))
            lines.push_back(l);
    }
    return out;
}
