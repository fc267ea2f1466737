#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace velq::skin {

// "name=value" lines of a layout text, names compared without regard to case. Lines without
// "=" (section headers, banners) and comments (";") define nothing.
class LayoutKeys {
public:
    static std::optional<LayoutKeys> Load(const std::filesystem::path& path, std::string& error);

    // The key's integer value, or empty when it is missing or not a number.
    std::optional<int> Int(std::string_view name) const;

private:
    std::map<std::string, std::string> values_;
};

}  // namespace velq::skin
