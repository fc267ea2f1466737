#include "fire/fire_block.h"

#include <algorithm>

#include "common/checksum.h"

namespace velq {

uint8_t FireBlockChecksum(const FireMacroBlock& block) {
    const std::size_t length = FireBlockLength(block);
    return SectionChecksum(std::span<const uint8_t>(block).subspan(kFireLengthByte, length));
}

bool UpdateFireBlockChecksum(FireMacroBlock& block) {
    const std::size_t length = FireBlockLength(block);
    if (length == 0) {
        return false;
    }
    block[length + 1] = FireBlockChecksum(block);
    return true;
}

bool FireBlockChecksumOk(const FireMacroBlock& block) {
    const uint8_t length = block[kFireLengthByte];
    if (length == 0 || length > kFireMaxLength) {
        return false;
    }
    return block[length + 1u] == FireBlockChecksum(block);
}

std::optional<FireMacroBlock> MakeFireBlock(bool stop_on_release,
                                            std::span<const uint8_t> content) {
    if (content.size() > kFireMaxContent) {
        return std::nullopt;
    }
    FireMacroBlock block{};
    block[kFireFlagByte] = stop_on_release ? 1 : 0;
    block[kFireLengthByte] = static_cast<uint8_t>(content.size() + 1);
    std::copy(content.begin(), content.end(), block.begin() + kFireContentStart);
    UpdateFireBlockChecksum(block);
    return block;
}

bool ReadAreaBlock(const FireArea& area, int slot, FireMacroBlock& block) {
    if (!IsFireSlot(slot)) {
        return false;
    }
    const auto first = area.begin() + static_cast<std::ptrdiff_t>(kFireBlockSize) * (slot - 1);
    std::copy(first, first + kFireBlockSize, block.begin());
    return true;
}

bool WriteAreaBlock(FireArea& area, int slot, const FireMacroBlock& block) {
    if (!IsFireSlot(slot)) {
        return false;
    }
    const auto first = area.begin() + static_cast<std::ptrdiff_t>(kFireBlockSize) * (slot - 1);
    std::copy(block.begin(), block.end(), first);
    return true;
}

}  // namespace velq
