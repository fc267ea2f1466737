#pragma once

#include <array>
#include <cstdint>

namespace velq {

// The opcodes of a macro body. A token is one opcode byte, optionally followed by one operand.
// Fire macro blocks and the fire key section use the same tokens.
enum class MacroToken : uint8_t {
    kModifierDown = 0x81,  // operand: modifier mask
    kModifierUp = 0x01,    // operand: modifier mask
    kKeyDown = 0x82,       // operand: keyboard usage
    kKeyUp = 0x02,         // operand: keyboard usage
    kButtonDown = 0xA0,    // + button bit, no operand
    kButtonUp = 0x20,      // + button bit, no operand
    kMoveX = 0xFB,         // operand: signed byte
    kMoveY = 0xFA,         // operand: signed byte
    kDelay = 0xFE,         // operand: wait in 8 ms units
    kRepeatStart = 0xFD,   // operand: passes - 1, 0xFF = endless
    kRepeatEnd = 0xFC,     // no operand
};

constexpr uint8_t Opcode(MacroToken token) {
    return static_cast<uint8_t>(token);
}

// Mouse button bits of the button tokens.
inline constexpr uint8_t kMacroButtonLeft = 0x01;
inline constexpr uint8_t kMacroButtonRight = 0x02;
inline constexpr uint8_t kMacroButtonMiddle = 0x04;
inline constexpr uint8_t kMacroButtonForward = 0x08;   // XBUTTON2
inline constexpr uint8_t kMacroButtonBackward = 0x10;  // XBUTTON1

// Single-bit modifier masks the macro tokens carry.
inline constexpr uint8_t kMacroModCtrl = 0x01;
inline constexpr uint8_t kMacroModShift = 0x02;
inline constexpr uint8_t kMacroModAlt = 0x04;
inline constexpr uint8_t kMacroModLeftWin = 0x08;
inline constexpr uint8_t kMacroModRightWin = 0x80;

// One Delay token waits this many milliseconds per unit; at most 255 units per token.
inline constexpr int kDelayUnitMs = 8;
inline constexpr int kMaxDelayUnits = 255;
inline constexpr int kMaxDelayTokenMs = kDelayUnitMs * kMaxDelayUnits;  // 2040
// Readers merge up to this many consecutive Delay tokens into one wait.
inline constexpr int kMergedDelayTokens = 5;

// Endless repetition: the RepeatStart operand 0xFF.
inline constexpr uint8_t kRepeatEndless = 0xFF;

}  // namespace velq
