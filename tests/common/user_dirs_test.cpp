#include "common/user_dirs.h"

#include <gtest/gtest.h>

#include <map>

namespace velq {
namespace {

EnvironmentLookup Environment(std::map<std::string, std::string> values) {
    return [values = std::move(values)](std::string_view name) -> std::optional<std::string> {
        const auto found = values.find(std::string(name));
        return found != values.end() ? std::optional<std::string>(found->second) : std::nullopt;
    };
}

struct FolderCase {
    UserFolder kind;
    std::map<std::string, std::string> environment;
    std::optional<std::string> expected;
};

TEST(UserDirs, FollowsTheDesktopRulesForEveryFolder) {
    const FolderCase cases[] = {
        {UserFolder::kData, {{"XDG_DATA_HOME", "/d"}, {"HOME", "/h"}}, "/d/velq540b"},
        {UserFolder::kData, {{"HOME", "/h"}}, "/h/.local/share/velq540b"},
        {UserFolder::kConfig, {{"XDG_CONFIG_HOME", "/c"}, {"HOME", "/h"}}, "/c/velq540b"},
        {UserFolder::kConfig, {{"HOME", "/h"}}, "/h/.config/velq540b"},
        {UserFolder::kState, {{"XDG_STATE_HOME", "/s"}, {"HOME", "/h"}}, "/s/velq540b"},
        {UserFolder::kState, {{"HOME", "/h"}}, "/h/.local/state/velq540b"},
        // Empty or relative values are ignored, as the rules say.
        {UserFolder::kConfig, {{"XDG_CONFIG_HOME", ""}, {"HOME", "/h"}}, "/h/.config/velq540b"},
        {UserFolder::kConfig, {{"XDG_CONFIG_HOME", "rel"}, {"HOME", "/h"}}, "/h/.config/velq540b"},
        {UserFolder::kState, {{"XDG_STATE_HOME", "./s"}, {"HOME", "/h"}},
         "/h/.local/state/velq540b"},
        // Without a usable HOME there is no folder.
        {UserFolder::kData, {}, std::nullopt},
        {UserFolder::kData, {{"HOME", ""}}, std::nullopt},
        {UserFolder::kData, {{"HOME", "home"}}, std::nullopt},
    };
    for (const FolderCase& c : cases) {
        const auto folder = ProgramFolder(c.kind, Environment(c.environment));
        if (c.expected) {
            ASSERT_TRUE(folder.has_value()) << *c.expected;
            EXPECT_EQ(folder->string(), *c.expected);
        } else {
            EXPECT_FALSE(folder.has_value());
        }
    }
}

}  // namespace
}  // namespace velq
