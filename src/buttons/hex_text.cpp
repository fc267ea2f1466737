#include "buttons/hex_text.h"

namespace velq {

namespace {
constexpr char kDigits[] = "0123456789ABCDEF";
}

std::string HexByte(uint8_t value) {
    return std::string{kDigits[value >> 4], kDigits[value & 0x0F]};
}

std::string HexWord(uint16_t value) {
    return HexByte(static_cast<uint8_t>(value >> 8)) + HexByte(static_cast<uint8_t>(value & 0xFF));
}

std::optional<uint8_t> ParseHexByte(std::string_view pair) {
    if (pair.size() != 2) {
        return std::nullopt;
    }
    const auto high = HexDigitValue(pair[0]);
    const auto low = HexDigitValue(pair[1]);
    if (!high || !low) {
        return std::nullopt;
    }
    return static_cast<uint8_t>((*high << 4) | *low);
}

}  // namespace velq
