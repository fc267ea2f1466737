// Our own file of the pointer values a desktop does not keep: where it lives, and its failures,
// which are marked as the file's so that the page says them.
#include "settings/pointer_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace velq {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for the test's time and puts back what was there.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedVariable() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(PointerFile, LivesInTheConfigurationFolderOfTheOneRule) {
    struct Case {
        const char* config_home;
        const char* home;
        const char* file;  // "": none
    };
    const Case cases[] = {
        {"/c", "/h", "/c/velq540b/pointer.conf"},
        {nullptr, "/h", "/h/.config/velq540b/pointer.conf"},
        {"relative", "/h", "/h/.config/velq540b/pointer.conf"},
        {"", "/h", "/h/.config/velq540b/pointer.conf"},
        {"relative", nullptr, ""},
        {nullptr, "home", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.config_home ? c.config_home : "(unset)") + " " +
                     (c.home ? c.home : "(unset)"));
        const ScopedVariable config("XDG_CONFIG_HOME", c.config_home);
        const ScopedVariable home("HOME", c.home);
        EXPECT_EQ(DefaultPointerFile(), fs::path(c.file));
    }
}

TEST(PointerFile, FailuresAreTheFilesAndNameIt) {
    const fs::path dir =
        fs::path(::testing::TempDir()) / ("velq-pointer-file-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "pointer.conf");  // a folder where the file should be
    const PointerValues wheel{{PointerKey::kWheelScrollLines, "3"}};

    // No folder for it: nothing was kept to read, and nothing can be kept.
    PointerValues read;
    EXPECT_TRUE(ReadPointerFile({}, read));
    EXPECT_TRUE(read.empty());
    const PointerResult nowhere = WritePointerFile({}, wheel);
    EXPECT_FALSE(nowhere);
    EXPECT_TRUE(nowhere.own_file);
    EXPECT_NE(nowhere.error.find("XDG_CONFIG_HOME"), std::string::npos) << nowhere.error;

    const PointerResult refused = WritePointerFile(dir / "pointer.conf", wheel);
    EXPECT_FALSE(refused);
    EXPECT_TRUE(refused.own_file);
    EXPECT_EQ(refused.error.rfind((dir / "pointer.conf").string() + ": ", 0), 0u) << refused.error;

    const fs::path file = dir / "kept" / "pointer.conf";
    ASSERT_TRUE(WritePointerFile(file, {{PointerKey::kDoubleClickSpeed, "500"}}));
    ASSERT_TRUE(WritePointerFile(file, wheel));
    ASSERT_TRUE(ReadPointerFile(file, read));
    EXPECT_EQ(read, (PointerValues{{PointerKey::kDoubleClickSpeed, "500"},
                                   {PointerKey::kWheelScrollLines, "3"}}));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace velq
