#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/caption_lookup.h"

namespace velq {

// The three embedded caption tables are numbered 1..3 (`LanguageNumber`); the program starts in
// language 1.
inline constexpr int kFirstLanguageNumber = 1;
inline constexpr int kLastLanguageNumber = 3;

// One entry of a caption table, as read: the key and its trimmed UTF-8 text.
struct CaptionEntry {
    std::string key;
    std::string text;
};

// A caption table read from its resource ("lang1" .. "lang3"). Keys are looked up without regard
// to ASCII case, as an INI reader does; the first definition of a key wins.
class CaptionTable final : public CaptionLookup {
public:
    CaptionTable() = default;
    explicit CaptionTable(std::vector<CaptionEntry> entries);

    // The text of `key`, empty when the table does not hold it.
    std::string Caption(std::string_view key) const override;
    bool Contains(std::string_view key) const;

    // The entries in the order of the resource (later duplicates of a key left out).
    const std::vector<CaptionEntry>& Entries() const { return entries_; }

private:
    const CaptionEntry* Find(std::string_view key) const;

    std::vector<CaptionEntry> entries_;
    std::unordered_map<std::string, size_t> index_;  // lower-case key -> position in entries_
};

// The outcome of reading a caption table; `error` names the table and what was wrong.
struct CaptionTableResult {
    bool ok = false;
    std::string error;
    CaptionTable table;
    explicit operator bool() const { return ok; }
};

// The resource name of a language's caption table: "lang1" for 1, and so on.
std::string CaptionResourceName(int language_number);

// Reads a caption table resource: a UTF-16 little-endian text with the byte order mark FF FE,
// split into items at blanks and line breaks (a double-quoted run is one item, quotes removed),
// each item read as an INI line. Returns the keys of the section `[section]` with trimmed values,
// so "Str008=Luz " gives "Luz".
[[nodiscard]] CaptionTableResult ParseCaptionTable(std::span<const uint8_t> bytes,
                                                   std::string_view section);

// Reads the embedded caption table of `language_number` (1..3) from its own section.
[[nodiscard]] CaptionTableResult LoadCaptionTable(int language_number);

}  // namespace velq
