// A temporary device root per test, ways to put a domain file into it, and the problems reported.
#pragma once

#include "platform/preferences/preferences.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

inline constexpr const char* kDomain = "com.lantern.veypreferences";

struct PrefsTest : ::testing::Test {
    void SetUp() override {
        char pattern[] = "/tmp/vey-prefs-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        NSSetDeviceRoot(root_);
        std::filesystem::create_directories(std::filesystem::path(path()).parent_path());
        HBPreferences::setProblemHandler([this](const std::string& file, const std::string& why) {
            reports_.push_back(file.substr(file.rfind('/') + 1) + " " + why);
        });
    }
    void TearDown() override {
        HBPreferences::setProblemHandler(nullptr);
        std::filesystem::remove_all(root_);
    }

    static std::string path() { return HBPreferences::pathForDomain(kDomain); }
    static void writeBytes(const std::string& bytes) {
        std::ofstream(path(), std::ios::binary | std::ios::trunc) << bytes;
    }
    // Runs Python code with plistlib and `f`, the domain's file; true when it ends cleanly.
    bool python(const std::string& code) const {
        std::ofstream(root_ + "/p.py") << "import plistlib, sys, datetime\nf = sys.argv[1]\n"
                                       << code << "\n";
        return std::system(("python3 '" + root_ + "/p.py' '" + path() + "'").c_str()) == 0;
    }
    void writeWithPython(const std::string& value, bool binary) const {
        ASSERT_TRUE(python("plistlib.dump(" + value + ", open(f, 'wb'), fmt=plistlib.FMT_" +
                           (binary ? "BINARY" : "XML") + ")"));
    }
    static void postReload(const char* domain = kDomain) {
        notify_post(HBPreferences::reloadNotificationName(domain));
    }
    // `key` as registerObject reads it from a fresh store over the current file.
    static std::string stored(const char* key) {
        std::string v = "unset";
        HBPreferences::initWithIdentifier(kDomain)->registerObject(&v, "default", key);
        return v;
    }

    std::string root_;
    std::vector<std::string> reports_;
};
