#include "fire/fire_blocks.h"

#include <algorithm>

namespace velq {
namespace {

constexpr std::size_t Index(int slot) {
    return static_cast<std::size_t>(slot - 1);
}

// The byte a parameter value is stored as; none when the value does not fit.
std::optional<uint8_t> EncodeParam(FireParam param, int value) {
    switch (param) {
        case FireParam::kCount:
            if (value < 1 || value > 256) {
                return std::nullopt;
            }
            return static_cast<uint8_t>(value - 1);
        case FireParam::kX:
        case FireParam::kY:
            if (value < -128 || value > 127) {
                return std::nullopt;
            }
            return static_cast<uint8_t>(value);
        case FireParam::kTime:
            if (value < 0 || value > 255 * kFireDelayUnitMs) {
                return std::nullopt;
            }
            return static_cast<uint8_t>(value / kFireDelayUnitMs);
    }
    return std::nullopt;
}

// The click-per-shot shape with Y 0: FD FF, A1, 21, FB 00, FA 00, FE 01, FC.
constexpr std::array<uint8_t, 11> kNewFireMacro = {0xFD, 0xFF, 0xA1, 0x21, 0xFB, 0x00,
                                                   0xFA, 0x00, 0xFE, 0x01, 0xFC};

bool HoldsNoFireMacro(const FireMacroBlock& block) {
    return std::all_of(block.begin(), block.end(), [](uint8_t b) { return b == 0; }) ||
           std::all_of(block.begin(), block.end(), [](uint8_t b) { return b == 0xFF; });
}

}  // namespace

void FireBlocks::CopyFromArea(const FireArea& area) {
    for (int slot = 1; slot <= kFireSlotCount; ++slot) {
        ReadAreaBlock(area, slot, blocks_[Index(slot)]);
    }
}

void FireBlocks::CopyToArea(FireArea& area) const {
    for (int slot = 1; slot <= kFireSlotCount; ++slot) {
        WriteAreaBlock(area, slot, blocks_[Index(slot)]);
    }
}

const FireMacroBlock& FireBlocks::Block(int slot) const {
    return blocks_.at(Index(slot));
}

bool FireBlocks::SetBlock(int slot, const FireMacroBlock& block) {
    if (!IsFireSlot(slot)) {
        return false;
    }
    blocks_[Index(slot)] = block;
    return true;
}

FireParamPos FireBlocks::Positions(int slot) const {
    return positions_.at(Index(slot));
}

std::optional<FireRow> FireBlocks::ScanFireBlock(
    int slot, std::span<uint8_t, kFireEntryTableSize> entry_table) {
    if (!IsFireSlot(slot)) {
        return std::nullopt;
    }
    const FireScan scan = ScanFireContent(blocks_[Index(slot)]);
    if (scan.row.stop_on_release.has_value()) {
        SetFirePlayMode(entry_table, slot, *scan.row.stop_on_release);
    }
    FireParamPos& recorded = positions_[Index(slot)];
    for (FireParam param : {FireParam::kCount, FireParam::kX, FireParam::kY, FireParam::kTime}) {
        if (scan.found[param] != 0) {
            recorded[param] = scan.found[param];
        }
    }
    return scan.row;
}

FireEditResult FireBlocks::EditParam(int slot, FireParam param, int value) {
    if (!IsFireSlot(slot)) {
        return FireEditResult::kNoSuchSlot;
    }
    const std::optional<uint8_t> encoded = EncodeParam(param, value);
    if (!encoded) {
        return FireEditResult::kOutOfRange;
    }
    FireMacroBlock& block = blocks_[Index(slot)];
    if (block[kFireLengthByte] > kFireMaxLength) {
        return FireEditResult::kBadLength;
    }
    const uint8_t at = positions_[Index(slot)][param];
    // The block as it is now must hold this parameter at the recorded position; a scan finds
    // value bytes only inside the content (bytes 3..L), never the flag, length or checksum.
    if (at == 0 || ScanFireContent(block).found[param] != at) {
        return FireEditResult::kNotInBlock;
    }
    block[at] = *encoded;
    UpdateFireBlockChecksum(block);
    return FireEditResult::kStored;
}

FireEditResult FireBlocks::EditOrStartParam(int slot, FireParam param, int value,
                                            std::span<uint8_t, kFireEntryTableSize> entry_table) {
    const FireEditResult edited = EditParam(slot, param, value);
    if (edited != FireEditResult::kNotInBlock && edited != FireEditResult::kBadLength) {
        return edited;
    }
    if (!HoldsNoFireMacro(blocks_[Index(slot)])) {
        return edited;
    }
    const std::optional<FireMacroBlock> fresh = MakeFireBlock(true, kNewFireMacro);
    if (!fresh) {
        return edited;
    }
    blocks_[Index(slot)] = *fresh;
    static_cast<void>(ScanFireBlock(slot, entry_table));
    const FireEditResult stored = EditParam(slot, param, value);
    return stored == FireEditResult::kStored ? FireEditResult::kStarted : stored;
}

bool FireBlocks::SetStopOnRelease(int slot, bool stop_on_release,
                                  std::span<uint8_t, kFireEntryTableSize> entry_table) {
    if (!IsFireSlot(slot)) {
        return false;
    }
    blocks_[Index(slot)][kFireFlagByte] = stop_on_release ? 1 : 0;
    return SetFirePlayMode(entry_table, slot, stop_on_release);
}

bool FireBlocks::FireMacroChecksum(int slot) {
    if (!IsFireSlot(slot)) {
        return false;
    }
    return UpdateFireBlockChecksum(blocks_[Index(slot)]);
}

}  // namespace velq
