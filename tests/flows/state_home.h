#pragma once

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

namespace velq::test {

// XDG_STATE_HOME set to a new empty folder for as long as this lives, then put back as it was
// and the folder removed: the undo history that the flows and velqctl keep there goes into a
// folder of the test's own, never into the user's.
class ScopedStateHome {
public:
    ScopedStateHome() {
        if (const char* old = std::getenv("XDG_STATE_HOME")) {
            previous_ = old;
        }
        std::string pattern =
            (std::filesystem::temp_directory_path() / "velq-state-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            // Never the user's own folder instead: the test cannot run.
            throw std::runtime_error("cannot create a temporary state folder");
        }
        folder_ = pattern;
        ::setenv("XDG_STATE_HOME", folder_.c_str(), 1);
    }
    ~ScopedStateHome() {
        if (previous_) {
            ::setenv("XDG_STATE_HOME", previous_->c_str(), 1);
        } else {
            ::unsetenv("XDG_STATE_HOME");
        }
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    ScopedStateHome(const ScopedStateHome&) = delete;
    ScopedStateHome& operator=(const ScopedStateHome&) = delete;

    const std::filesystem::path& Folder() const { return folder_; }
    // Where the history is kept below it.
    std::filesystem::path History() const { return folder_ / "velq540b" / "history"; }

private:
    std::filesystem::path folder_;
    std::optional<std::string> previous_;
};

}  // namespace velq::test
