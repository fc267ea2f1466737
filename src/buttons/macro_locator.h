#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "common/macro_slot_size.h"

namespace velq {

// A macro function code (types 0x06 and 0x0E) names its macro by a 16-bit locator in P1 P2.
//
// With macros in the mouse the locator is the device address of the slot's length byte: the
// 32-byte name and the stop-on-release byte lie below it. With macros kept by the utility the
// n-th macro of the driver list (n from 0) has the locator 0x0120 + 0x800 x n, one 2048-byte
// record after the other.

// Device address of macro slot 1..6 (index 0..5): 32 name bytes, then 224 content bytes.
inline constexpr std::array<uint16_t, kMacroSlotCount> kMacroSlotAddresses{0x100, 0x200, 0x300,
                                                                           0x400, 0x600, 0x700};

// The locators of slots 1..6: slot address + 0x21.
inline constexpr std::array<uint16_t, kMacroSlotCount> kMacroSlotLocators{0x0121, 0x0221, 0x0321,
                                                                          0x0421, 0x0621, 0x0721};

inline constexpr uint16_t kDriverMacroLocatorBase = 0x0120;
inline constexpr uint32_t kDriverMacroLocatorStep = 0x800;

// The locator of slot 1..6; none for any other slot number.
std::optional<uint16_t> MacroSlotLocator(int slot);

// The slot 1..6 a locator names, or none.
std::optional<int> MacroSlotOfLocator(uint16_t locator);

// The locator of the n-th driver macro; none when it does not fit 16 bits (n above 31).
std::optional<uint16_t> DriverMacroLocator(std::size_t n);

// The driver list position a locator names, or none.
std::optional<std::size_t> DriverMacroIndexOfLocator(uint16_t locator);

}  // namespace velq
