#include "macros/macro_folder.h"

namespace velq {

std::optional<std::filesystem::path> MacroFolder(std::string_view path_setting,
                                                 const EnvironmentLookup& get_variable) {
    if (!path_setting.empty()) {
        return std::filesystem::path(path_setting);
    }
    return ProgramFolder(UserFolder::kData, get_variable);
}

std::optional<std::filesystem::path> MacroFolderOfEnvironment(std::string_view path_setting) {
    return MacroFolder(path_setting, ProcessEnvironment());
}

}  // namespace velq
