#include "fire/fire_tables.h"

namespace velq {
namespace {

constexpr std::size_t EntryOffset(int slot) {
    return 3 * static_cast<std::size_t>(slot - 1);
}
constexpr std::size_t PairOffset(int slot) {
    return 2 * static_cast<std::size_t>(slot - 1);
}

constexpr bool IsSignedByte(int value) {
    return value >= -128 && value <= 127;
}

}  // namespace

bool SetFirePlayMode(std::span<uint8_t, kFireEntryTableSize> table, int slot,
                     bool stop_on_release) {
    if (!IsFireSlot(slot)) {
        return false;
    }
    table[EntryOffset(slot)] = static_cast<uint8_t>(stop_on_release ? FireCodeType::kMacroHold
                                                                    : FireCodeType::kFireBlockRun);
    return true;
}

std::optional<uint8_t> FirePlayMode(std::span<const uint8_t, kFireEntryTableSize> table, int slot) {
    if (!IsFireSlot(slot)) {
        return std::nullopt;
    }
    return table[EntryOffset(slot)];
}

std::optional<uint16_t> FireEntryLocator(std::span<const uint8_t, kFireEntryTableSize> table,
                                         int slot) {
    if (!IsFireSlot(slot)) {
        return std::nullopt;
    }
    const std::size_t at = EntryOffset(slot);
    return static_cast<uint16_t>(table[at + 1] << 8 | table[at + 2]);
}

bool SetFireYAdjustment(std::span<uint8_t, kFireYOffsetTableSize> table, int slot, int value) {
    if (!IsFireSlot(slot) || !IsSignedByte(value)) {
        return false;
    }
    table[PairOffset(slot)] = static_cast<uint8_t>(value);
    return true;
}

bool WriteFireYOffsetPair(std::span<uint8_t, kFireYOffsetTableSize> table, int slot, int value) {
    if (!IsFireSlot(slot) || !IsSignedByte(value)) {
        return false;
    }
    const auto first = static_cast<uint8_t>(value);
    table[PairOffset(slot)] = first;
    table[PairOffset(slot) + 1] = static_cast<uint8_t>(255 - first);
    return true;
}

std::optional<int> FireYAdjustment(std::span<const uint8_t, kFireYOffsetTableSize> table,
                                   int slot) {
    if (!IsFireSlot(slot)) {
        return std::nullopt;
    }
    return static_cast<int8_t>(table[PairOffset(slot)]);
}

bool SetFireColor(std::span<uint8_t, kFireColorTableSize> table, int slot, FireColor color) {
    if (!IsFireSlot(slot)) {
        return false;
    }
    const std::size_t at = EntryOffset(slot);
    table[at] = color.r;
    table[at + 1] = color.g;
    table[at + 2] = color.b;
    return true;
}

std::optional<FireColor> FireSlotColor(std::span<const uint8_t, kFireColorTableSize> table,
                                       int slot) {
    if (!IsFireSlot(slot)) {
        return std::nullopt;
    }
    const std::size_t at = EntryOffset(slot);
    return FireColor{table[at], table[at + 1], table[at + 2]};
}

}  // namespace velq
