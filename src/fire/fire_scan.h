#pragma once

#include <cstdint>
#include <optional>

#include "fire/fire_block.h"

namespace velq {

// The four parameters the fire page reads out of a block and edits in place.
enum class FireParam { kCount, kX, kY, kTime };

// Indices, inside a slot's block, of the value bytes of Count, X, Y and Time. 0 means "not
// found": a value byte is never at byte 0 or 1, which hold the flag and the length.
struct FireParamPos {
    uint8_t count = 0;
    uint8_t x = 0;
    uint8_t y = 0;
    uint8_t time = 0;

    uint8_t& operator[](FireParam param);
    uint8_t operator[](FireParam param) const;
    bool operator==(const FireParamPos&) const = default;
};

// What the page's row shows for a slot. Fields the block does not hold stay 0 (the row's
// edits are reset to "0" before a scan). `stop_on_release` is none when byte 0 is neither 0
// nor 1: such a block is not read at all and the row's box keeps its state.
struct FireRow {
    int count = 0;  // 1..256, 256 = without end
    int x = 0;      // signed byte
    int y = 0;      // signed byte
    int time = 0;   // ms, multiple of 8
    std::optional<bool> stop_on_release;
    bool operator==(const FireRow&) const = default;
};

struct FireScan {
    FireRow row;
    FireParamPos found;  // positions this scan found, 0 where it found nothing
};

// Reads a block the way the fire page shows it:
//  - the repeat count, X and Y come from the last token of their kind;
//  - the time is the first wait after each Y move (a wait before the first Y move, such as
//    the lead-in of the hold-and-pull shape, is not the time between shots);
//  - the scan stops at a byte that is no fire macro token and at a two-byte token whose
//    operand would lie past the content, so a value is only ever found inside bytes 3..L;
//  - L is limited to the block, so nothing outside the 24 bytes is read.
FireScan ScanFireContent(const FireMacroBlock& block);

}  // namespace velq
