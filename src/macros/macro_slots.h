#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "buttons/macro_locator.h"
#include "macros/macro_content.h"

namespace velq {

// Where macros lie. In the mouse memory, slots 1..4 at 0x100-0x4FF and 5..6 at 0x600-0x7FF
// (0x500-0x5FF is the fire area), each a 32-byte name followed by a device-form content; a
// macro function code names a slot by the address of its length byte (kMacroSlotLocators).
// In the driver's image the utility-kept macros follow each other from offset 256, one
// 2048-byte record each, the n-th named by 0x0120 + 0x800 x n.
inline constexpr std::size_t kDriverMacroImageOffset = 0x100;

// Device address of the name field of slot 1..6; none for any other slot number.
constexpr std::optional<uint16_t> MacroSlotNameAddress(int slot) {
    if (slot < 1 || slot > static_cast<int>(kMacroSlotCount)) {
        return std::nullopt;
    }
    return kMacroSlotAddresses[static_cast<std::size_t>(slot - 1)];
}

// Device address of the content of slot 1..6.
constexpr std::optional<uint16_t> MacroSlotContentAddress(int slot) {
    const auto name = MacroSlotNameAddress(slot);
    if (!name) {
        return std::nullopt;
    }
    return static_cast<uint16_t>(*name + kMacroNameSize);
}

// Offset of the n-th driver macro record in the driver's image.
constexpr std::size_t DriverMacroRecordOffset(std::size_t n) {
    return kDriverMacroImageOffset + kDriverMacroRecordSize * n;
}

static_assert(kMacroSlotLocators[0] == kMacroSlotAddresses[0] + kMacroNameSize + 1,
              "a slot locator is the address of its length byte");
static_assert(kDriverMacroLocatorBase == DriverMacroRecordOffset(0) + kMacroNameSize);

}  // namespace velq
