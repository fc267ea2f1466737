#include "shell/caption_table.h"

#include <algorithm>

#include "common/utf.h"
#include "shell/shell_resources.h"

namespace velq {
namespace {

// Blanks and control characters separate items and are trimmed from them, as in the INI
// reader the tables are written for. Other white space (an ideographic space) is text.
bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

std::string AsciiLower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return out;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && AsciiLower(a) == AsciiLower(b);
}

// Splits the text into items: an item that starts with a double quote runs to the closing quote
// and may hold blanks (a doubled quote inside stands for one quote; an unclosed quote runs to the
// end of the text); any other item runs to the next blank.
// UTF-8 continuation bytes are never blanks or quotes, so the split works on UTF-8 directly.
std::vector<std::string> SplitItems(std::string_view text) {
    std::vector<std::string> items;
    size_t i = 0;
    while (i < text.size()) {
        if (IsBlank(text[i])) {
            ++i;
            continue;
        }
        std::string item;
        if (text[i] == '"') {
            ++i;
            while (i < text.size()) {
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        item.push_back('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item.push_back(text[i++]);
            }
        } else {
            while (i < text.size() && !IsBlank(text[i])) {
                item.push_back(text[i++]);
            }
        }
        items.push_back(std::move(item));
    }
    return items;
}

}  // namespace

CaptionTable::CaptionTable(std::vector<CaptionEntry> entries) {
    entries_.reserve(entries.size());
    for (auto& entry : entries) {
        auto [it, added] = index_.emplace(AsciiLower(entry.key), entries_.size());
        if (added) {
            entries_.push_back(std::move(entry));
        }
    }
}

const CaptionEntry* CaptionTable::Find(std::string_view key) const {
    auto it = index_.find(AsciiLower(key));
    return it == index_.end() ? nullptr : &entries_[it->second];
}

std::string CaptionTable::Caption(std::string_view key) const {
    const CaptionEntry* entry = Find(key);
    return entry ? entry->text : std::string();
}

bool CaptionTable::Contains(std::string_view key) const {
    return Find(key) != nullptr;
}

std::string CaptionResourceName(int language_number) {
    return "lang" + std::to_string(language_number);
}

CaptionTableResult ParseCaptionTable(std::span<const uint8_t> bytes, std::string_view section) {
    CaptionTableResult result;
    const std::string name = "caption table [" + std::string(section) + "]";
    if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) {
        result.error = name + ": no UTF-16 little-endian byte order mark";
        return result;
    }
    Utf16DecodeResult decoded = DecodeUtf16Le(bytes.subspan(2));
    if (!decoded) {
        result.error = name + ": " + decoded.error;
        return result;
    }

    std::vector<CaptionEntry> entries;
    bool section_found = false;
    bool in_section = false;
    for (const std::string& raw : SplitItems(decoded.text)) {
        const std::string_view item = Trim(raw);
        if (item.empty() || item.front() == ';') {
            continue;
        }
        if (item.size() >= 2 && item.front() == '[' && item.back() == ']') {
            // Only the first section of that name counts, as the INI reader finds the first.
            in_section = !section_found &&
                         EqualsIgnoringAsciiCase(Trim(item.substr(1, item.size() - 2)), section);
            section_found = section_found || in_section;
            continue;
        }
        const size_t eq = item.find('=');
        if (!in_section || eq == std::string_view::npos) {
            continue;
        }
        const std::string_view key = Trim(item.substr(0, eq));
        if (key.empty()) {
            continue;
        }
        entries.push_back({std::string(key), std::string(Trim(item.substr(eq + 1)))});
    }
    if (!section_found) {
        result.error = name + ": section not found";
        return result;
    }
    result.table = CaptionTable(std::move(entries));
    result.ok = true;
    return result;
}

CaptionTableResult LoadCaptionTable(int language_number) {
    if (language_number < kFirstLanguageNumber || language_number > kLastLanguageNumber) {
        CaptionTableResult result;
        result.error = "no caption table for language number " + std::to_string(language_number);
        return result;
    }
    const std::string name = CaptionResourceName(language_number);
    const std::span<const uint8_t> bytes = ShellResource(name);
    if (bytes.empty()) {
        CaptionTableResult result;
        result.error = "caption table \"" + name + "\" is not embedded";
        return result;
    }
    return ParseCaptionTable(bytes, name);
}

}  // namespace velq
