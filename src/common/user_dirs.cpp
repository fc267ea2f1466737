#include "common/user_dirs.h"

#include <cstdlib>

namespace velq {

namespace {

struct FolderRule {
    const char* variable;
    const char* below_home;
};

FolderRule RuleOf(UserFolder kind) {
    switch (kind) {
        case UserFolder::kData:
            return {"XDG_DATA_HOME", ".local/share"};
        case UserFolder::kConfig:
            return {"XDG_CONFIG_HOME", ".config"};
        case UserFolder::kState:
            return {"XDG_STATE_HOME", ".local/state"};
    }
    return {"XDG_DATA_HOME", ".local/share"};
}

bool UsableFolder(const std::optional<std::string>& value) {
    return value && !value->empty() && std::filesystem::path(*value).is_absolute();
}

}  // namespace

EnvironmentLookup ProcessEnvironment() {
    return [](std::string_view name) -> std::optional<std::string> {
        const char* value = std::getenv(std::string(name).c_str());
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    };
}

std::optional<std::filesystem::path> UserBaseFolder(UserFolder kind,
                                                    const EnvironmentLookup& get_variable) {
    const FolderRule rule = RuleOf(kind);
    if (const std::optional<std::string> value = get_variable(rule.variable);
        UsableFolder(value)) {
        return std::filesystem::path(*value);
    }
    if (const std::optional<std::string> home = get_variable("HOME"); UsableFolder(home)) {
        return std::filesystem::path(*home) / rule.below_home;
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> ProgramFolder(UserFolder kind,
                                                   const EnvironmentLookup& get_variable) {
    std::optional<std::filesystem::path> base = UserBaseFolder(kind, get_variable);
    if (!base) {
        return std::nullopt;
    }
    return *base / std::string(kProgramSubfolder);
}

std::optional<std::filesystem::path> ProgramFolder(UserFolder kind) {
    return ProgramFolder(kind, ProcessEnvironment());
}

}  // namespace velq
