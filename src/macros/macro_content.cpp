#include "macros/macro_content.h"

#include <algorithm>

#include "common/checksum.h"

namespace velq {

std::size_t StoredLength(std::span<const uint8_t> content, ContentForm form) {
    if (form == ContentForm::kDevice) {
        return content.size() > 1 ? content[1] : 0;
    }
    return content.size() > 2 ? (std::size_t{content[1]} << 8) | content[2] : 0;
}

uint8_t MacroChecksum(std::span<const uint8_t> content, ContentForm form, std::size_t token_bytes) {
    const std::size_t end = std::min(content.size(), TokenStart(form) + token_bytes);
    return SectionChecksum(content.subspan(1, end - 1));
}

bool CheckMacroContent(std::span<uint8_t, kMacroContentSize> content) {
    const std::size_t length = content[1];
    bool valid = false;
    if (length <= kMacroTokenRoom + 1) {
        // Bytes 1..L are covered; for L = 0 nothing is, and byte 1 itself is compared.
        const uint8_t sum = SectionChecksum(std::span<const uint8_t>(content).subspan(1, length));
        valid = sum == content[length + 1];
    }
    if (valid) {
        return false;
    }
    const bool had_data =
        std::any_of(content.begin(), content.end(), [](uint8_t b) { return b != 0; });
    std::fill(content.begin(), content.end(), uint8_t{0});
    return had_data;
}

unsigned CheckMacroContentBuf(std::span<MacroSlotBytes, 6> slots) {
    unsigned emptied = 0;
    for (std::size_t k = 0; k < slots.size(); ++k) {
        auto content = std::span<uint8_t, kMacroContentSize>(slots[k].data() + kMacroNameSize,
                                                             kMacroContentSize);
        if (CheckMacroContent(content)) {
            emptied |= 1u << k;
        }
    }
    return emptied;
}

}  // namespace velq
