// A device root per test, ways to put a domain file into it, and the problems reported.
#pragma once

#include "common/device.h"

#include <cstdlib>
#include <fstream>

inline constexpr const char* kDomain = "com.lantern.veypreferences";

struct PrefsTest : ::testing::Test {
    void SetUp() override {
        std::filesystem::create_directories(std::filesystem::path(path()).parent_path());
        HBPreferences::setProblemHandler([this](const std::string& file, const std::string& why) {
            reports_.push_back(file + " " + why);
        });
    }
    void TearDown() override { HBPreferences::setProblemHandler(nullptr); }

    static std::string path() { return HBPreferences::pathForDomain(kDomain); }
    static void writeBytes(const std::string& bytes) {
        std::ofstream(path(), std::ios::binary | std::ios::trunc) << bytes;
    }
    // Runs Python code with plistlib's names, `f` (the domain's file) and write(value, binary);
    // true when the code ends cleanly.
    bool python(const std::string& code) const {
        std::ofstream(device_.root + "/p.py")
            << "import sys, datetime\nfrom plistlib import *\nf = sys.argv[1]\n"
               "def write(v, binary): dump(v, open(f, 'wb'), fmt=[FMT_XML, FMT_BINARY][binary])\n"
            << code << "\n";
        return std::system(("python3 '" + device_.root + "/p.py' '" + path() + "'").c_str()) == 0;
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

    TestDevice device_;
    std::vector<std::string> reports_;
};
