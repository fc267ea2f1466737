#include "macros/macro_name.h"

#include <algorithm>
#include <optional>

#include "buttons/hex_text.h"

namespace velq {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
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

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<uint8_t>(text[i]);
        std::size_t extra = 0;
        uint32_t code = 0;
        if (lead < 0x80) {
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            code = lead & 0x07;
        } else {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        bool valid = i + extra < text.size();  // the continuation bytes are all there
        for (std::size_t k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<uint8_t>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
            } else {
                code = (code << 6) | (next & 0x3F);
            }
        }
        constexpr uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
        if (!valid || code < kMinimum[extra] || code > 0x10FFFF ||
            (code >= 0xD800 && code <= 0xDFFF)) {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
        i += extra + 1;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        uint32_t code = text[i];
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            ++i;
        } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
            code = kReplacement;
        }
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (code >> 18)));
            out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return out;
}

}  // namespace velq
