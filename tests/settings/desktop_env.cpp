#include "settings/desktop_env.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace velq {
namespace {

std::filesystem::path& Root() {
    static std::filesystem::path root;
    return root;
}

// Runs before main: GLib reads these once, at its first use, so they must be in place before
// anything (a test, a static object) touches GSettings.
struct DesktopEnvironment : ::testing::Environment {
    DesktopEnvironment() {
        std::string pattern = (std::filesystem::temp_directory_path() / "velq-desktop-XXXXXX");
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        Root() = pattern;
        std::filesystem::create_directories(TestConfigHome());
        std::filesystem::create_directories(TestDataHome());
        setenv("HOME", pattern.c_str(), 1);
        setenv("XDG_CONFIG_HOME", TestConfigHome().c_str(), 1);
        setenv("XDG_DATA_HOME", TestDataHome().c_str(), 1);
        setenv("GSETTINGS_BACKEND", "keyfile", 1);
        setenv("GSETTINGS_SCHEMA_DIR", VELQ_TEST_SCHEMA_DIR, 1);
        unsetenv("XDG_DATA_DIRS");
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(Root(), ec);
    }
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new DesktopEnvironment);

}  // namespace

const std::filesystem::path& TestConfigHome() {
    static const std::filesystem::path path = Root() / "config";
    return path;
}

const std::filesystem::path& TestDataHome() {
    static const std::filesystem::path path = Root() / "data";
    return path;
}

}  // namespace velq
