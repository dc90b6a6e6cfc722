// A temporary device root per test, and ways to put a domain file into it.
#pragma once

#include "platform/preferences/preferences.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

inline constexpr const char* kDomain = "com.lantern.veypreferences";

class PrefsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/vey-prefs-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        NSSetDeviceRoot(root_);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    std::string path(const char* domain = kDomain) const {
        return HBPreferences::pathForDomain(domain);
    }

    void writeBytes(const std::string& bytes, const char* domain = kDomain) const {
        std::filesystem::create_directories(std::filesystem::path(path(domain)).parent_path());
        std::ofstream(path(domain), std::ios::binary | std::ios::trunc) << bytes;
    }
    std::string readBytes() const {
        std::ifstream in(path(), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }

    // Writes the domain file with Python's plistlib from a Python expression.
    void writeWithPython(const std::string& expression, bool binary,
                         const char* domain = kDomain) const {
        std::filesystem::create_directories(std::filesystem::path(path(domain)).parent_path());
        std::string script = root_ + "/write.py";
        std::ofstream(script) << "import plistlib, sys, datetime\n"
                              << "value = " << expression << "\n"
                              << "with open(sys.argv[1], 'wb') as f:\n"
                              << "    plistlib.dump(value, f, fmt=plistlib."
                              << (binary ? "FMT_BINARY" : "FMT_XML") << ")\n";
        std::string command = "python3 '" + script + "' '" + path(domain) + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    static void postReload(const char* domain = kDomain) {
        notify_post(HBPreferences::reloadNotificationName(domain));
    }

    std::string root_;
};
