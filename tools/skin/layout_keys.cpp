#include "layout_keys.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <sstream>

namespace velq::skin {
namespace {

std::string Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = s.find_last_not_of(" \t\r\n");
    return std::string(s.substr(first, last - first + 1));
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return s;
}

}  // namespace

std::optional<LayoutKeys> LayoutKeys::Load(const std::filesystem::path& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path.string();
        return std::nullopt;
    }
    std::stringstream text;
    text << in.rdbuf();
    LayoutKeys keys;
    std::string line;
    while (std::getline(text, line)) {
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed.front() == ';') {
            continue;
        }
        const auto eq = trimmed.find('=');
        if (eq == std::string::npos) {
            continue;
        }
        keys.values_[Lower(Trim(std::string_view(trimmed).substr(0, eq)))] =
            Trim(std::string_view(trimmed).substr(eq + 1));
    }
    return keys;
}

std::optional<int> LayoutKeys::Int(std::string_view name) const {
    const auto it = values_.find(Lower(std::string(name)));
    if (it == values_.end()) {
        return std::nullopt;
    }
    int value = 0;
    const std::string& text = it->second;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace velq::skin
