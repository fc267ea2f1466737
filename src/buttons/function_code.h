#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velq {

// The type byte of a button's function code. P1 and P2 are its parameters; a two-byte
// parameter is stored high byte first (P1 = high byte).
enum class CodeType : uint8_t {
    kKeyOff = 0x00,        // 00 00 00 only
    kMouseButton = 0x01,   // P1 = button mask
    kKeyboardKey = 0x02,   // P1 = modifier mask, P2 = keyboard usage (0 = modifiers only)
    kConsumerKey = 0x03,   // P1 P2 = HID Consumer page usage
    kCPILoop = 0x05,       // next DPI level, wrapping
    kMacroRun = 0x06,      // P1 P2 = macro locator; play to the end (06 00 F0 is the fire key)
    kCPIPlus = 0x07,       // next higher DPI level
    kCPIMinus = 0x08,      // next lower DPI level
    kLEDSwitch = 0x09,     // LED on/off
    kAIMKey = 0x0A,        // P1 = DPI value index used while held
    kFireBlockRun = 0x0B,  // P1 P2 = fire block locator; only in the fire-macro slot table
    kGunKey = 0x0C,        // P1 = first fire-macro slot, P2 = last (1..10)
    kFnFire = 0x0D,        // gun Fn switch
    kMacroHold = 0x0E,     // P1 P2 = macro locator; play while the button is held
    kKeyMode = 0x0F,       // office/gaming profile switch
    kLEDMode = 0x10,       // next LED mode
};

// Mouse button bits of P1 of a MouseButton code.
inline constexpr uint8_t kMouseLeft = 0x01;
inline constexpr uint8_t kMouseRight = 0x02;
inline constexpr uint8_t kMouseMiddle = 0x04;
inline constexpr uint8_t kMouseBack = 0x08;
inline constexpr uint8_t kMouseForward = 0x10;

// Modifier bits of P1 of a KeyboardKey code.
inline constexpr uint8_t kModCtrl = 0x01;
inline constexpr uint8_t kModShift = 0x02;
inline constexpr uint8_t kModAlt = 0x04;
inline constexpr uint8_t kModWin = 0x08;

// A button's function in byte form: type, P1, P2, as they stand in the parameter image.
struct FunctionCode {
    uint8_t type = 0;
    uint8_t p1 = 0;
    uint8_t p2 = 0;

    constexpr uint16_t Parameter() const { return static_cast<uint16_t>((p1 << 8) | p2); }
    friend constexpr bool operator==(const FunctionCode&, const FunctionCode&) = default;
};

// Number of characters of a code text.
inline constexpr std::size_t kCodeTextLength = 6;

// The fire key: a macro run of the fire key section at 0x00F0.
inline constexpr std::string_view kFireKeyText = "0600F0";
// The fire key as the driver stores it when continuous fire stops on release.
inline constexpr std::string_view kFireKeyHoldText = "0E00F0";
inline constexpr uint16_t kFireKeyLocator = 0x00F0;

// The six upper-case hexadecimal digits of a code, type first ("0300CD").
std::string CodeText(const FunctionCode& code);

// Reads a code text. Only six upper-case hexadecimal digits form a code: the codes are compared
// as text, so "0a0500" is not the same code as "0A0500" and is refused.
std::optional<FunctionCode> ParseCodeText(std::string_view text);

// The code at the start of `bytes` (type byte first).
constexpr FunctionCode CodeFromBytes(std::span<const uint8_t, 3> bytes) {
    return FunctionCode{bytes[0], bytes[1], bytes[2]};
}

// Writes the three bytes of `code` (type byte first).
constexpr void StoreCode(const FunctionCode& code, std::span<uint8_t, 3> bytes) {
    bytes[0] = code.type;
    bytes[1] = code.p1;
    bytes[2] = code.p2;
}

// A key or key combination: "02" + modifier mask + usage, the form the combination dialog and
// the key capture produce.
std::string KeyComboText(uint8_t modifier_mask, uint8_t usage);

}  // namespace velq
