#pragma once

#include <cstddef>
#include <cstdint>

namespace velq {

// Sizes of the fire macro storage: ten slots of 24 bytes at the start of the 256-byte fire
// area, the rest of the area spare.
inline constexpr int kFireSlotCount = 10;
inline constexpr std::size_t kFireBlockSize = 24;
inline constexpr std::size_t kFireAreaSize = 256;
inline constexpr std::size_t kFireBlocksSize = kFireBlockSize * kFireSlotCount;  // 240

// The largest length byte that keeps a block's checksum inside its 24 bytes: content bytes
// 2..22, checksum at 23.
inline constexpr std::size_t kFireMaxLength = kFireBlockSize - 2;
inline constexpr std::size_t kFireMaxContent = kFireMaxLength - 1;  // 21 token bytes

// Byte positions inside a block.
inline constexpr std::size_t kFireFlagByte = 0;    // stop-on-release flag
inline constexpr std::size_t kFireLengthByte = 1;  // L: content bytes + 1
inline constexpr std::size_t kFireContentStart = 2;

// The macro tokens a fire macro uses; the same encoding as the macro slots use, reduced to
// the left button, the repeat group, the pointer moves and the wait.
enum class FireToken : uint8_t {
    kButtonDown = 0xA1,   // left button down
    kButtonUp = 0x21,     // left button up
    kRepeatStart = 0xFD,  // operand n: n + 1 passes, 0xFF without end
    kRepeatEnd = 0xFC,
    kMoveX = 0xFB,  // operand: signed byte
    kMoveY = 0xFA,  // operand: signed byte
    kDelay = 0xFE,  // operand t: wait t x 8 ms
};

inline constexpr uint8_t kFireRepeatEndless = 0xFF;
inline constexpr int kFireDelayUnitMs = 8;

constexpr uint8_t TokenByte(FireToken token) {
    return static_cast<uint8_t>(token);
}

// Type bytes of the function codes that point at fire macros: the slot table entries play a
// block to its end (0x0B) or while the button is held (0x0E); a gun key names a slot range.
enum class FireCodeType : uint8_t {
    kFireBlockRun = 0x0B,
    kGunKey = 0x0C,
    kMacroHold = 0x0E,
};

constexpr bool IsFireSlot(int slot) {
    return slot >= 1 && slot <= kFireSlotCount;
}

}  // namespace velq
