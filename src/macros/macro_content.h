#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "common/macro_slot_size.h"

namespace velq {

// The two stored forms of a macro body.
//
// Device form (224 bytes, in the mouse's slots and the macro library): byte 0 stop-on-release,
// byte 1 L = token bytes + 1, tokens at 2..L, checksum over bytes 1..L at L + 1, zeros after.
// Utility form (2016 bytes, when the utility keeps the macros): byte 0 stop-on-release, bytes 1
// and 2 L high byte first, tokens at 3..L + 1, checksum over bytes 1..L + 1 at L + 2.
enum class ContentForm { kDevice, kUtility };

inline constexpr std::size_t kDriverMacroContentSize = 2016;

using MacroContent = std::array<uint8_t, kMacroContentSize>;
using DriverMacroContent = std::array<uint8_t, kDriverMacroContentSize>;

// Token bytes that fit each form. The device form is bounded by its 224 bytes (L at most 222,
// checksum at 223); the utility form by what the driver accepts.
inline constexpr std::size_t kMacroTokenRoom = 221;
inline constexpr std::size_t kDriverMacroTokenRoom = 1980;

// Where the recorder stops, leaving room for the editor's inserts and the repeat wrapper.
inline constexpr std::size_t kRecordCapacity = 186;
inline constexpr std::size_t kDriverRecordCapacity = 1980;

// A mouse slot: a 32-byte name followed by a device-form content.
using MacroSlotBytes = std::array<uint8_t, kMacroSlotSize>;

// A utility-kept macro: a 32-byte name followed by a utility-form content.
inline constexpr std::size_t kDriverMacroRecordSize = kMacroNameSize + kDriverMacroContentSize;

inline constexpr uint8_t kStopOnReleaseFlag = 0x01;
inline constexpr uint8_t kPlayToEndFlag = 0x00;

inline constexpr std::size_t ContentSize(ContentForm form) {
    return form == ContentForm::kDevice ? kMacroContentSize : kDriverMacroContentSize;
}

inline constexpr std::size_t TokenRoom(ContentForm form) {
    return form == ContentForm::kDevice ? kMacroTokenRoom : kDriverMacroTokenRoom;
}

// Offset of the first token byte.
inline constexpr std::size_t TokenStart(ContentForm form) {
    return form == ContentForm::kDevice ? 2 : 3;
}

// L as stored (token bytes + 1; 0 for an empty content).
std::size_t StoredLength(std::span<const uint8_t> content, ContentForm form);

// The checksum over the length byte(s) and `token_bytes` token bytes of `content`.
uint8_t MacroChecksum(std::span<const uint8_t> content, ContentForm form, std::size_t token_bytes);

// Checks one device-form content read from the mouse: a length beyond the room (an erased slot
// reads FF) or a checksum that does not match empties all 224 bytes. True when bytes that were
// not all zero were discarded.
bool CheckMacroContent(std::span<uint8_t, kMacroContentSize> content);

// Checks the contents of all six slots of the editor's copy; the names stay. Returns a bit
// per slot whose content was discarded (bit 0 = slot 1).
unsigned CheckMacroContentBuf(std::span<MacroSlotBytes, 6> slots);

}  // namespace velq
