#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "common/user_dirs.h"

namespace velq {

// The folder of the macro library files. The program settings' `Path` names it when not empty.
// Otherwise the files go to this program's folder in the user's data folder (see user_dirs.h),
// since the folder a Linux program is installed in is not writable by its users. None when the
// user has no data folder.
[[nodiscard]] std::optional<std::filesystem::path> MacroFolder(
    std::string_view path_setting, const EnvironmentLookup& get_variable);

// MacroFolder with this process's environment.
[[nodiscard]] std::optional<std::filesystem::path> MacroFolderOfEnvironment(
    std::string_view path_setting);

}  // namespace velq
