// The dependency rule of the source folders, checked on the #include lines themselves: the
// include paths every library gets make a crossing invisible to the linker.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// What each core folder may include besides itself, the whole chain spelt out.
const std::map<std::string, std::set<std::string>> kAllowed = {
    {"common", {}},
    {"device", {"common"}},
    {"image", {"common"}},
    {"buttons", {"common"}},
    {"fire", {"common"}},
    {"macros", {"buttons", "common"}},
    {"config", {"image", "buttons", "macros", "fire", "common"}},
    {"settings", {"config", "image", "buttons", "macros", "fire", "common"}},
    {"flows", {"settings", "config", "image", "buttons", "macros", "fire", "device", "common"}},
    {"shell", {"common"}},
    {"capture", {"common"}},
};

struct Include {
    std::string file;
    std::string target;  // the included path
};

std::vector<Include> IncludesUnder(const fs::path& src) {
    static const std::regex kInclude(R"(^\s*#\s*include\s*[<"]([^>"]+)[>"])");
    std::vector<Include> includes;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) {
            continue;
        }
        std::ifstream in(entry.path());
        std::string line;
        while (std::getline(in, line)) {
            std::smatch match;
            if (std::regex_search(line, match, kInclude)) {
                includes.push_back({fs::relative(entry.path(), src).generic_string(), match[1]});
            }
        }
    }
    return includes;
}

// The folder a path lies in ("flows/ui" for the window side of a subsystem).
std::string FolderOf(const std::string& path) {
    const auto slash = path.find('/');
    if (slash == std::string::npos) {
        return {};
    }
    const std::string top = path.substr(0, slash);
    return path.compare(slash + 1, 3, "ui/") == 0 ? top + "/ui" : top;
}

bool IsUi(const std::string& folder) {
    return folder.size() > 3 && folder.compare(folder.size() - 3, 3, "/ui") == 0;
}

// Whether `folder` may include a header of `target`.
bool Allowed(const std::string& folder, const std::string& target) {
    if (target == folder || target.empty()) {
        return true;
    }
    if (IsUi(folder)) {
        // The window's chrome knows no page; the pages use the whole core, the chrome and each
        // other; the device flows' side puts them together.
        if (IsUi(target) && target != "shell/ui") {
            return folder != "shell/ui" && (target != "flows/ui" || folder == "flows/ui");
        }
        return true;
    }
    if (IsUi(target)) {
        return false;  // nothing in the core knows a page
    }
    const auto allowed = kAllowed.find(folder);
    return allowed != kAllowed.end() && allowed->second.count(target) > 0;
}

TEST(IncludeRule, EveryIncludeFollowsTheDependencyRule) {
    const fs::path src = fs::path(VELQ_SOURCE_DIR) / "src";
    const std::vector<Include> includes = IncludesUnder(src);
    ASSERT_GT(includes.size(), 100u);
    std::set<std::string> project_folders;
    for (const auto& entry : fs::directory_iterator(src)) {
        if (entry.is_directory()) {
            project_folders.insert(entry.path().filename().string());
        }
    }
    for (const Include& include : includes) {
        const std::string folder = FolderOf(include.file);
        const std::string target_top = include.target.substr(0, include.target.find('/'));
        if (project_folders.count(target_top) == 0) {
            // A system or library header: Qt only in the pages.
            const bool qt = include.target.rfind("Q", 0) == 0 || include.target.rfind("qt", 0) == 0;
            EXPECT_FALSE(qt && !IsUi(folder)) << include.file << " includes <" << include.target
                                              << ">, but Qt belongs to the ui folders";
            continue;
        }
        EXPECT_TRUE(Allowed(folder, FolderOf(include.target)))
            << include.file << " includes \"" << include.target << "\"";
    }
}

// The rule itself: each folder's allowance is closed (what it may use may use nothing more).
TEST(IncludeRule, TheRuleIsClosedUnderItsOwnChains) {
    for (const auto& [folder, allowed] : kAllowed) {
        for (const std::string& used : allowed) {
            const auto deeper = kAllowed.find(used);
            ASSERT_NE(deeper, kAllowed.end()) << used;
            for (const std::string& further : deeper->second) {
                EXPECT_TRUE(allowed.count(further))
                    << folder << " uses " << used << " which uses " << further;
            }
        }
    }
}

}  // namespace
