// A temporary device root per test, and ways to put a domain file into it.
#pragma once

#include "platform/preferences/preferences.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

inline constexpr const char* kDomain = "com.lantern.veypreferences";

class PrefsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/vey-prefs-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        NSSetDeviceRoot(root_);
        std::filesystem::create_directories(std::filesystem::path(path()).parent_path());
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    std::string path(const char* domain = kDomain) const {
        return HBPreferences::pathForDomain(domain);
    }
    void writeBytes(const std::string& bytes) const {
        std::ofstream(path(), std::ios::binary | std::ios::trunc) << bytes;
    }
    std::string readBytes() const {
        std::ifstream in(path(), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }
    // Writes the domain file with Python's plistlib from a Python expression.
    void writeWithPython(const std::string& expression, bool binary,
                         const char* domain = kDomain) const {
        std::string script = root_ + "/write.py";
        std::ofstream(script) << "import plistlib, sys, datetime\nplistlib.dump(" << expression
                              << ", open(sys.argv[1], 'wb'), fmt=plistlib."
                              << (binary ? "FMT_BINARY" : "FMT_XML") << ")\n";
        std::string command = "python3 '" + script + "' '" + path(domain) + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    static void postReload(const char* domain = kDomain) {
        notify_post(HBPreferences::reloadNotificationName(domain));
    }
    // `key` as registerObject reads it from a fresh store over the current file.
    static std::string stored(const char* key, std::string fallback = "default") {
        std::string v = "unset";
        HBPreferences::initWithIdentifier(kDomain)->registerObject(&v, std::move(fallback), key);
        return v;
    }

    std::string root_;
};
