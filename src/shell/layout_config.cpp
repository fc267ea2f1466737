#include "shell/layout_config.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace velq {
namespace {

// Trimming removes every control character and blank at both ends, so tabs and a stray CR
// never become part of a name or value.
bool IsTrimmed(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsTrimmed(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsTrimmed(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return LowerAscii(a) == LowerAscii(b);
}

char LowerChar(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Orders a lower-case name against a key of any case as if the key were lower-cased too, byte by
// byte like std::string's own comparison; a lookup then needs no lower-case copy of its key.
bool LowerNameBefore(std::string_view lower, std::string_view key) {
    const size_t common = std::min(lower.size(), key.size());
    for (size_t i = 0; i < common; ++i) {
        const auto a = static_cast<unsigned char>(lower[i]);
        const auto b = static_cast<unsigned char>(LowerChar(key[i]));
        if (a != b) {
            return a < b;
        }
    }
    return lower.size() < key.size();
}

bool LowerNameEquals(std::string_view lower, std::string_view key) {
    return lower.size() == key.size() &&
           std::equal(lower.begin(), lower.end(), key.begin(),
                      [](char a, char b) { return a == LowerChar(b); });
}

}  // namespace

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = LowerChar(c);
    }
    return out;
}

std::optional<int> ParseConfigInt(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;  // "+-5" is no number
        }
    }
    if (text.empty()) {
        return std::nullopt;
    }
    int value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(first, last, value, 10);
    if (ec != std::errc{} || end != last) {
        return std::nullopt;
    }
    return value;
}

ConfigSection::ConfigSection(std::string name, std::vector<ConfigEntry> entries)
    : name_(std::move(name)), entries_(std::move(entries)) {
    index_.reserve(entries_.size());
    for (size_t i = 0; i < entries_.size(); ++i) {
        index_.emplace_back(LowerAscii(entries_[i].name), i);
    }
    // Stable, so that among equal names the first definition stays in front.
    std::stable_sort(index_.begin(), index_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

const ConfigEntry* ConfigSection::Find(std::string_view key) const {
    const auto it = std::lower_bound(
        index_.begin(), index_.end(), key,
        [](const auto& item, std::string_view k) { return LowerNameBefore(item.first, k); });
    if (it == index_.end() || !LowerNameEquals(it->first, key)) {
        return nullptr;
    }
    return &entries_[it->second];
}

LayoutError ConfigSection::MissingKey(std::string_view key) const {
    return LayoutError{std::string(key), name_,
                       "Key \"" + std::string(key) + "\" is missing in section [" + name_ + "]"};
}

LayoutError ConfigSection::NotANumber(std::string_view key, std::string_view value) const {
    return LayoutError{std::string(key), name_,
                       "Key \"" + std::string(key) + "\" in section [" + name_ +
                           "] is not a number: \"" + std::string(value) + "\""};
}

LayoutResult<int> ConfigSection::ReadInt(std::string_view key) const {
    const ConfigEntry* entry = Find(key);
    if (entry == nullptr) {
        return LayoutResult<int>::Failure(MissingKey(key));
    }
    const std::optional<int> value = ParseConfigInt(entry->value);
    if (!value) {
        return LayoutResult<int>::Failure(NotANumber(key, entry->value));
    }
    return LayoutResult<int>::Success(*value);
}

LayoutResult<bool> ConfigSection::ReadEnable(std::string_view key) const {
    const LayoutResult<int> value = ReadInt(key);
    if (!value) {
        return LayoutResult<bool>::Failure(value.error);
    }
    return LayoutResult<bool>::Success(*value.value == 1);
}

LayoutResult<std::string> ConfigSection::ReadString(std::string_view key) const {
    const ConfigEntry* entry = Find(key);
    if (entry == nullptr) {
        return LayoutResult<std::string>::Failure(MissingKey(key));
    }
    return LayoutResult<std::string>::Success(entry->value);
}

LayoutResult<ConfigSection> ParseConfigText(std::string_view text, std::string_view section_name) {
    std::vector<ConfigEntry> entries;
    std::string found_name;
    bool found = false;
    bool in_section = false;
    int line_number = 0;

    size_t pos = 0;
    while (pos <= text.size()) {
        // Lines end at CR LF, and a lone CR or LF is accepted as well.
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = Trim(text.substr(pos, end - pos));
        ++line_number;
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() &&
            text[end + 1] == '\n') {
            ++end;
        }
        pos = end + 1;

        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[' && line.back() == ']') {
            const std::string_view header = Trim(line.substr(1, line.size() - 2));
            in_section = EqualsNoCase(header, section_name);
            if (in_section && !found) {
                found = true;
                found_name = std::string(header);
            }
            continue;
        }
        if (!in_section) {
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;  // banner and note lines define nothing
        }
        const std::string_view name = Trim(line.substr(0, equals));
        if (name.empty()) {
            continue;
        }
        entries.push_back(ConfigEntry{std::string(name), std::string(Trim(line.substr(equals + 1))),
                                      line_number});
    }

    if (!found) {
        const std::string wanted(section_name);
        return LayoutResult<ConfigSection>::Failure(
            LayoutError{"", wanted, "Section [" + wanted + "] is missing from its text"});
    }
    return LayoutResult<ConfigSection>::Success(ConfigSection(found_name, std::move(entries)));
}

}  // namespace velq
