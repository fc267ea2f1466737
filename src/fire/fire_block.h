#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "fire/fire_codes.h"

namespace velq {

// One fire macro slot as the mouse stores it:
//   byte 0       stop-on-release flag (1 = stop when the button is released)
//   byte 1       L = content bytes + 1
//   bytes 2..L   tokens
//   byte L+1     checksum of bytes 1..L
//   the rest     free, zero in the default sets
// An all-zero block is an empty slot.
using FireMacroBlock = std::array<uint8_t, kFireBlockSize>;

// The mouse's fire area: the ten blocks, slot k at 24(k-1), then 16 spare bytes that the
// program carries through untouched.
using FireArea = std::array<uint8_t, kFireAreaSize>;

// The length byte as far as it can be trusted: a length above 22 would put the checksum
// outside the block, so it is limited to the block.
constexpr std::size_t FireBlockLength(const FireMacroBlock& block) {
    return block[kFireLengthByte] > kFireMaxLength ? kFireMaxLength : block[kFireLengthByte];
}

// The checksum of bytes 1..L (L limited to the block).
uint8_t FireBlockChecksum(const FireMacroBlock& block);

// Stores the checksum at byte L+1 (L limited to the block). A block with L = 0 holds nothing
// to close; it is left as it is, so an empty slot never gains a length byte.
// Returns false when nothing was stored.
bool UpdateFireBlockChecksum(FireMacroBlock& block);

// True when L is 1..22 and byte L+1 holds the checksum of bytes 1..L.
bool FireBlockChecksumOk(const FireMacroBlock& block);

// Builds a closed block from a flag and its tokens; none when the tokens do not fit (more
// than 21 bytes).
std::optional<FireMacroBlock> MakeFireBlock(bool stop_on_release, std::span<const uint8_t> content);

// Block k (1..10) of a fire area, copied out, and written back. Copies go block by block, so
// the spare bytes 240..255 keep what they hold. Both return false for a slot outside 1..10.
bool ReadAreaBlock(const FireArea& area, int slot, FireMacroBlock& block);
bool WriteAreaBlock(FireArea& area, int slot, const FireMacroBlock& block);

}  // namespace velq
