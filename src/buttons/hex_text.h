#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velq {

// Two upper-case hexadecimal digits for a byte ("0A", "FF"). Codes are compared as text, so
// every code text is built with upper-case letters.
std::string HexByte(uint8_t value);

// Four upper-case hexadecimal digits, high digit first.
std::string HexWord(uint16_t value);

// The value of one hexadecimal digit (either case), or none.
constexpr std::optional<uint8_t> HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<uint8_t>(c - '0');
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<uint8_t>(c - 'A' + 10);
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<uint8_t>(c - 'a' + 10);
    }
    return std::nullopt;
}

// Reads a two-digit hexadecimal pair (either case); none when `pair` is not exactly two digits.
std::optional<uint8_t> ParseHexByte(std::string_view pair);

}  // namespace velq
