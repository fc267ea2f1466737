#include "buttons/function_code.h"

#include "buttons/hex_text.h"

namespace velq {

std::string CodeText(const FunctionCode& code) {
    return HexByte(code.type) + HexByte(code.p1) + HexByte(code.p2);
}

std::optional<FunctionCode> ParseCodeText(std::string_view text) {
    if (text.size() != kCodeTextLength) {
        return std::nullopt;
    }
    for (char c : text) {
        const bool upper_hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
        if (!upper_hex) {
            return std::nullopt;
        }
    }
    FunctionCode code;
    code.type = *ParseHexByte(text.substr(0, 2));
    code.p1 = *ParseHexByte(text.substr(2, 2));
    code.p2 = *ParseHexByte(text.substr(4, 2));
    return code;
}

std::string KeyComboText(uint8_t modifier_mask, uint8_t usage) {
    return CodeText(
        FunctionCode{static_cast<uint8_t>(CodeType::kKeyboardKey), modifier_mask, usage});
}

}  // namespace velq
