#pragma once

#include <filesystem>

namespace velq {

// The temporary folders this test process gives the desktop instead of the user's own:
// XDG_CONFIG_HOME (where GSettings' keyfile backend and our wheel file write), XDG_DATA_HOME
// and HOME, set before any test runs and removed after the last one.
const std::filesystem::path& TestConfigHome();
const std::filesystem::path& TestDataHome();

}  // namespace velq
