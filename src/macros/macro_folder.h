#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace velq {

// The subfolder of the user's data folder that holds the macro files.
inline constexpr std::string_view kMacroDataSubfolder = "velq540b";

// Returns an environment variable's value, nullopt when it is unset.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view)>;

// The folder of the macro library files. The program settings' `Path` names it when not empty.
// Otherwise the files go to the user's data folder, since the folder a Linux program is
// installed in is not writable by its users: $XDG_DATA_HOME/velq540b, or, when that is unset,
// empty or not absolute (the desktop's rule for that variable), $HOME/.local/share/velq540b.
// None without either variable.
[[nodiscard]] std::optional<std::filesystem::path> MacroFolder(
    std::string_view path_setting, const EnvironmentLookup& get_variable);

// MacroFolder with this process's environment.
[[nodiscard]] std::optional<std::filesystem::path> MacroFolderOfEnvironment(
    std::string_view path_setting);

}  // namespace velq
