#pragma once

#include <cstdint>
#include <span>

namespace velq {

// The checksum that closes the parameter sections, every macro content and every fire macro
// block: the sum of the covered bytes modulo 256, XOR 0x5A.
constexpr uint8_t SectionChecksum(std::span<const uint8_t> covered) {
    unsigned sum = 0;
    for (uint8_t b : covered) {
        sum += b;
    }
    return static_cast<uint8_t>((sum & 0xFFu) ^ 0x5Au);
}

}  // namespace velq
