#include "fire/fire_defaults.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "fire/fire_resources.h"

namespace velq {
namespace {

constexpr std::string_view kSetPrefix = "fireMacro_";

std::vector<std::string_view> SplitWords(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) {
            ++i;
        }
        std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
            ++i;
        }
        if (i > start) {
            words.push_back(line.substr(start, i - start));
        }
    }
    return words;
}

std::optional<int> ParseNumber(std::string_view word, int base) {
    int value = 0;
    const char* end = word.data() + word.size();
    auto [ptr, ec] = std::from_chars(word.data(), end, value, base);
    if (ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

FileResult LineError(std::size_t line_number, const std::string& what) {
    return {false, std::string(kFireDefaultSetsResource) + " line " + std::to_string(line_number) +
                       ": " + what};
}

}  // namespace

FileResult ParseFireDefaultSets(std::string_view text, FireDefaultSets& sets) {
    FireDefaultSets built{};
    std::array<std::array<bool, kFireSlotCount>, kFireDefaultSetCount> seen{};
    std::size_t line_number = 0;
    while (!text.empty()) {
        ++line_number;
        const std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
        if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) {
            line = line.substr(0, hash);
        }
        const std::vector<std::string_view> words = SplitWords(line);
        if (words.empty()) {
            continue;
        }
        if (words.size() < 3) {
            return LineError(line_number, "expected set, slot and flag");
        }
        std::optional<int> set;
        if (words[0].starts_with(kSetPrefix)) {
            set = ParseNumber(words[0].substr(kSetPrefix.size()), 10);
        }
        if (!set || *set < 0 || *set >= kFireDefaultSetCount) {
            return LineError(line_number, "unknown set \"" + std::string(words[0]) + "\"");
        }
        const std::optional<int> slot = ParseNumber(words[1], 10);
        if (!slot || !IsFireSlot(*slot)) {
            return LineError(line_number, "slot must be 1..10");
        }
        if (seen[*set][*slot - 1]) {
            return LineError(line_number, "slot listed twice");
        }
        seen[*set][*slot - 1] = true;
        const std::optional<int> flag = ParseNumber(words[2], 10);
        if (!flag || (*flag != 0 && *flag != 1)) {
            return LineError(line_number, "flag must be 0 or 1");
        }
        std::vector<uint8_t> content;
        for (std::size_t w = 3; w < words.size(); ++w) {
            const std::optional<int> byte =
                words[w].size() == 2 ? ParseNumber(words[w], 16) : std::nullopt;
            if (!byte) {
                return LineError(line_number,
                                 "\"" + std::string(words[w]) + "\" is not a hexadecimal byte");
            }
            content.push_back(static_cast<uint8_t>(*byte));
        }
        const std::optional<FireMacroBlock> block = MakeFireBlock(*flag == 1, content);
        if (!block) {
            return LineError(line_number, "more than 21 token bytes");
        }
        WriteAreaBlock(built[*set], *slot, *block);
    }
    sets = built;
    return {true, {}};
}

FileResult LoadFireDefaultSets(FireDefaultSets& sets) {
    const std::span<const uint8_t> bytes = FireResource(kFireDefaultSetsResource);
    if (bytes.empty()) {
        return {false, std::string(kFireDefaultSetsResource) + ": not built into the program"};
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return ParseFireDefaultSets(text, sets);
}

bool LoadFireDefaults(int set, const FireDefaultSets& sets, FireArea& buffer, FireBlocks& blocks) {
    if (set < 0 || set >= kFireDefaultSetCount) {
        return false;
    }
    buffer = sets[static_cast<std::size_t>(set)];
    blocks.CopyFromArea(buffer);
    return true;
}

FireButtonStates FireButtonsAfterDefaults(int set) {
    const bool filled = set != 0;
    return {filled, !filled};
}

FireButtonStates FireButtonsAfterRead(const FireArea& buffer) {
    auto present = [](uint8_t b) { return b != 0x00 && b != 0xFF; };
    const bool filled = present(buffer[kFireFlagByte]) || present(buffer[kFireContentStart]);
    return {filled, !filled};
}

FileResult ImportFireAreaFile(const std::filesystem::path& path, FireArea& buffer) {
    // A folder, a device or a FIFO is refused by its kind rather than by whatever reading it
    // would give (a device's endless zeros would reach the mouse, a FIFO would block).
    std::vector<uint8_t> start;
    FileResult read = ReadFileStart(path, start, buffer.size());
    if (!read) {
        return read;
    }
    std::copy(start.begin(), start.end(), buffer.begin());
    return {true, {}};
}

}  // namespace velq
