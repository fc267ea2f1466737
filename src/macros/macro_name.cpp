#include "macros/macro_name.h"

#include <algorithm>
#include <optional>

#include "buttons/hex_text.h"

namespace velq {

namespace {

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

std::optional<char16_t> ParseUnit(std::string_view group) {
    if (group.empty()) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (char c : group) {
        const auto digit = HexDigitValue(c);
        if (!digit) {
            return std::nullopt;
        }
        value = (value << 4) | *digit;
    }
    return static_cast<char16_t>(value);
}

}  // namespace

std::string NameToHex(std::u16string_view text) {
    std::string hex;
    for (char16_t unit : text) {
        if (unit == 0) {
            break;
        }
        hex += HexWord(static_cast<uint16_t>(unit));
    }
    return hex;
}

std::u16string HexToName(std::string_view hex) {
    std::u16string reversed;
    std::size_t end = hex.size();
    while (end > 0) {
        const std::size_t begin = end >= 4 ? end - 4 : 0;
        if (const auto unit = ParseUnit(hex.substr(begin, end - begin))) {
            reversed.push_back(*unit);
        }
        end = begin;
    }
    std::u16string name(reversed.rbegin(), reversed.rend());
    const std::size_t zero = name.find(char16_t{0});
    if (zero != std::u16string::npos) {
        name.resize(zero);
    }
    return name;
}

MacroName MakeMacroName(std::u16string_view text) {
    std::u16string_view units = text.substr(0, std::min(text.find(char16_t{0}), text.size()));
    if (units.size() > kMacroNameUnits) {
        units = units.substr(0, kMacroNameUnits);
        if (IsHighSurrogate(units.back())) {
            units.remove_suffix(1);
        }
    }
    const std::string hex = NameToHex(units);
    MacroName name{};
    for (std::size_t i = 0; i + 1 < hex.size() && i / 2 < name.size(); i += 2) {
        name[i / 2] = *ParseHexByte(std::string_view(hex).substr(i, 2));
    }
    return name;
}

std::string MacroNameHex(std::span<const uint8_t, kMacroNameSize> name) {
    std::string hex;
    hex.reserve(2 * name.size());
    for (uint8_t b : name) {
        hex += HexByte(b);
    }
    return hex;
}

std::u16string MacroNameText(std::span<const uint8_t, kMacroNameSize> name) {
    return HexToName(MacroNameHex(name));
}

bool IsFreeMacroName(std::span<const uint8_t, kMacroNameSize> name) {
    return (name[0] == 0x00 && name[1] == 0x00) || (name[0] == 0xFF && name[1] == 0xFF);
}

}  // namespace velq
