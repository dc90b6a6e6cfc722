// Test helpers: a device root of its own for each test.
#pragma once

#include "entry/install.h"
#include "platform/preferences/preferences.h"

#include <filesystem>
#include <gtest/gtest.h>
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
