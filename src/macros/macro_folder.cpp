#include "macros/macro_folder.h"

#include <cstdlib>

namespace velq {

std::optional<std::filesystem::path> MacroFolder(std::string_view path_setting,
                                                 const EnvironmentLookup& get_variable) {
    if (!path_setting.empty()) {
        return std::filesystem::path(path_setting);
    }
    const std::optional<std::string> data_home = get_variable("XDG_DATA_HOME");
    if (data_home && !data_home->empty() && std::filesystem::path(*data_home).is_absolute()) {
        return std::filesystem::path(*data_home) / std::string(kMacroDataSubfolder);
    }
    const std::optional<std::string> home = get_variable("HOME");
    if (home && !home->empty()) {
        return std::filesystem::path(*home) / ".local" / "share" / std::string(kMacroDataSubfolder);
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> MacroFolderOfEnvironment(std::string_view path_setting) {
    return MacroFolder(path_setting, [](std::string_view name) -> std::optional<std::string> {
        const char* value = std::getenv(std::string(name).c_str());
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    });
}

}  // namespace velq
