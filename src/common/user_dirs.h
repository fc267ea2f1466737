#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace velq {

// The folder below each of the user's base folders that holds this program's files.
inline constexpr std::string_view kProgramSubfolder = "velq540b";

// Returns an environment variable's value, nullopt when it is unset.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view)>;

// This process's environment.
[[nodiscard]] EnvironmentLookup ProcessEnvironment();

// The user's base folders of the desktop's rules: data ($XDG_DATA_HOME, else ~/.local/share),
// configuration ($XDG_CONFIG_HOME, else ~/.config) and state ($XDG_STATE_HOME, else
// ~/.local/state).
enum class UserFolder { kData, kConfig, kState };

// The base folder of `kind`. A variable that is unset, empty or not an absolute path is
// ignored, as the rules say; then the default below $HOME. None when $HOME is unset, empty or
// relative too.
[[nodiscard]] std::optional<std::filesystem::path> UserBaseFolder(
    UserFolder kind, const EnvironmentLookup& get_variable);

// This program's folder below the base folder of `kind` (the base folder / "velq540b").
[[nodiscard]] std::optional<std::filesystem::path> ProgramFolder(
    UserFolder kind, const EnvironmentLookup& get_variable);

// ProgramFolder with this process's environment.
[[nodiscard]] std::optional<std::filesystem::path> ProgramFolder(UserFolder kind);

}  // namespace velq
