#include "macros/macro_lines.h"

#include <array>

#include "buttons/hex_text.h"
#include "buttons/key_list.h"
#include "macros/macro_token.h"

namespace velq {

namespace {

struct ModifierKey {
    uint8_t mask;
    int virtual_key;
};

// Each modifier bit is named after the virtual key the recorder saw for it.
constexpr std::array<ModifierKey, 5> kModifierKeys{{
    {kMacroModCtrl, kVkControl},
    {kMacroModShift, kVkShift},
    {kMacroModAlt, kVkMenu},
    {kMacroModLeftWin, kVkLeftWin},
    {kMacroModRightWin, kVkRightWin},
}};

struct ButtonName {
    uint8_t button;
    std::string_view name;
};

constexpr std::array<ButtonName, 5> kButtonNames{{
    {kMacroButtonLeft, "LeftKey"},
    {kMacroButtonRight, "RightKey"},
    {kMacroButtonMiddle, "MiddleKey"},
    {kMacroButtonForward, "Forward"},
    {kMacroButtonBackward, "Backward"},
}};

std::string_view PressPrefix(bool press) {
    return press ? "1 " : "2 ";
}

}  // namespace

std::string DelayModeLine(DelayMode mode, int fixed_delay_ms) {
    switch (mode) {
        case DelayMode::kRealDelays:
            return "10";
        case DelayMode::kFixedDelay:
            return "01" + std::to_string(fixed_delay_ms);
        case DelayMode::kNoDelay:
            break;
    }
    return "00";
}

std::string DelayLine(int ms) {
    return "0 " + std::to_string(ms);
}

std::string_view ModifierKeyName(uint8_t mask) {
    for (const ModifierKey& key : kModifierKeys) {
        if (key.mask == mask) {
            return KeyIndexName(KeyIndexOfVirtualKey(key.virtual_key));
        }
    }
    return {};
}

std::string ModifierLine(bool press, uint8_t mask) {
    const auto opcode = Opcode(press ? MacroToken::kModifierDown : MacroToken::kModifierUp);
    return std::string(PressPrefix(press)) + std::string(ModifierKeyName(mask)) +
           " CODE:" + HexByte(opcode) + HexByte(mask);
}

std::string KeyLine(bool press, std::string_view key_name, uint8_t usage) {
    const auto opcode = Opcode(press ? MacroToken::kKeyDown : MacroToken::kKeyUp);
    return std::string(PressPrefix(press)) + std::string(key_name) + " CODE:" + HexByte(opcode) +
           HexByte(usage);
}

std::string ButtonLine(bool press, uint8_t button) {
    for (const ButtonName& entry : kButtonNames) {
        if (entry.button == button) {
            const auto base = Opcode(press ? MacroToken::kButtonDown : MacroToken::kButtonUp);
            return std::string(PressPrefix(press)) + std::string(entry.name) + " CODE:00" +
                   HexByte(static_cast<uint8_t>(base + button));
        }
    }
    return {};
}

std::string MoveXLine(uint8_t x) {
    return (x >= 0x80 ? "4 FB" : "3 FB") + HexByte(x);
}

std::string MoveYLine(uint8_t y) {
    return (y >= 0x80 ? "6 FA" : "5 FA") + HexByte(y);
}

}  // namespace velq
