#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "fire/fire_codes.h"

namespace velq {

// The three fire tables of the parameter area. Each function works on the table's bytes
// wherever they are kept (a working copy or the image), slot k = 1..10; a slot outside 1..10
// changes nothing and gives false or none.
inline constexpr std::size_t kFireEntryTableSize = 30;    // 3 bytes per slot
inline constexpr std::size_t kFireYOffsetTableSize = 20;  // 2 bytes per slot
inline constexpr std::size_t kFireColorTableSize = 30;    // 3 bytes per slot

using FireEntryTable = std::array<uint8_t, kFireEntryTableSize>;
using FireYOffsetTable = std::array<uint8_t, kFireYOffsetTableSize>;
using FireColorTable = std::array<uint8_t, kFireColorTableSize>;

// The device address of slot k's length byte in the fire area (0x0501, 0x0519, ... 0x05D9):
// bytes 1-2 of the slot's entry point there.
constexpr uint16_t FireBlockLocator(int slot) {
    return static_cast<uint16_t>(0x0501 + kFireBlockSize * static_cast<std::size_t>(slot - 1));
}

// Entry table: byte 0 is the play mode (0x0E stops on release, 0x0B runs to the end); bytes
// 1-2 come from the mouse or a default image and are never changed here.
bool SetFirePlayMode(std::span<uint8_t, kFireEntryTableSize> table, int slot, bool stop_on_release);
std::optional<uint8_t> FirePlayMode(std::span<const uint8_t, kFireEntryTableSize> table, int slot);
std::optional<uint16_t> FireEntryLocator(std::span<const uint8_t, kFireEntryTableSize> table,
                                         int slot);

// Y offset table: per slot a signed adjustment and its complement (255 minus the first byte).
// The fire page changes the adjustment alone; Apply writes the whole pair. Values outside
// -128..127 are refused.
bool SetFireYAdjustment(std::span<uint8_t, kFireYOffsetTableSize> table, int slot, int value);
bool WriteFireYOffsetPair(std::span<uint8_t, kFireYOffsetTableSize> table, int slot, int value);
std::optional<int> FireYAdjustment(std::span<const uint8_t, kFireYOffsetTableSize> table, int slot);

// Colour table: the indicator colour of each slot.
struct FireColor {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const FireColor&) const = default;
};

bool SetFireColor(std::span<uint8_t, kFireColorTableSize> table, int slot, FireColor color);
std::optional<FireColor> FireSlotColor(std::span<const uint8_t, kFireColorTableSize> table,
                                       int slot);

// The colours the default images hold, slots 1 to 10.
inline constexpr std::array<FireColor, kFireSlotCount> kDefaultFireColors{{
    {255, 0, 0},
    {0, 255, 0},
    {0, 0, 255},
    {255, 255, 0},
    {255, 0, 255},
    {0, 255, 255},
    {255, 128, 0},
    {255, 0, 128},
    {0, 255, 128},
    {255, 255, 255},
}};

}  // namespace velq
