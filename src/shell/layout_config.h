#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velq {

// Why a settings or layout text could not be used. `key` and `section` name the culprit (either
// may be empty when the fault is not about one key); `message` is the readable text that
// start-up or a language switch shows before it stops.
struct LayoutError {
    std::string key;
    std::string section;
    std::string message;
};

// A value or the error that prevented it. Nothing in the settings and layout code throws; every
// failure travels back in one of these.
template <typename T>
struct LayoutResult {
    std::optional<T> value;
    LayoutError error;

    [[nodiscard]] bool ok() const { return value.has_value(); }
    explicit operator bool() const { return ok(); }

    static LayoutResult Success(T v) { return LayoutResult{std::move(v), {}}; }
    static LayoutResult Failure(LayoutError e) { return LayoutResult{std::nullopt, std::move(e)}; }
};

// One "name=value" line of a section, trimmed, in the order of the text.
struct ConfigEntry {
    std::string name;
    std::string value;
    int line = 0;  // 1-based line number in the text, for messages
};

// The keys of one section of an INI-like settings text ([org], [org1] ...). Names are matched
// without regard to case; when a name is defined twice the first definition counts, as the
// program has always read these texts.
class ConfigSection {
public:
    ConfigSection() = default;
    ConfigSection(std::string name, std::vector<ConfigEntry> entries);

    const std::string& name() const { return name_; }
    // Every defining line, in text order, duplicates included.
    const std::vector<ConfigEntry>& entries() const { return entries_; }

    // The first definition of `key`, or nullptr.
    const ConfigEntry* Find(std::string_view key) const;
    bool Has(std::string_view key) const { return Find(key) != nullptr; }

    // The key as a decimal integer (optional sign); missing or not a number is an error naming
    // the key and this section.
    [[nodiscard]] LayoutResult<int> ReadInt(std::string_view key) const;
    // An enable key: on only when its value is exactly 1. It must still be present and numeric.
    [[nodiscard]] LayoutResult<bool> ReadEnable(std::string_view key) const;
    // The key as text; only a missing key is an error.
    [[nodiscard]] LayoutResult<std::string> ReadString(std::string_view key) const;

    LayoutError MissingKey(std::string_view key) const;
    LayoutError NotANumber(std::string_view key, std::string_view value) const;

private:
    std::string name_;
    std::vector<ConfigEntry> entries_;
    std::vector<std::pair<std::string, size_t>> index_;  // lower-case name -> entry, sorted
};

// Parses a settings text and returns its section `section_name` (matched without case).
// Rules: each line is trimmed; empty lines and lines starting with ";" are comments; "[name]"
// opens a section; any other line with "=" defines the key before the first "=" (spaces around
// "=" removed), so even a "//" line defines a key when it holds "="; lines without "=" define
// nothing. Keys before the first header belong to no section. A section that is not in the text
// is an error naming it.
[[nodiscard]] LayoutResult<ConfigSection> ParseConfigText(std::string_view text,
                                                          std::string_view section_name);

// Parses a decimal integer with an optional sign, the way every numeric key is read. Rejects
// empty text, stray characters and values outside the int range.
std::optional<int> ParseConfigInt(std::string_view text);

// ASCII lower-case copy, used for case-insensitive key names.
std::string LowerAscii(std::string_view text);

}  // namespace velq
