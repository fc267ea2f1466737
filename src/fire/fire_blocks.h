#pragma once

#include <array>
#include <optional>
#include <span>

#include "fire/fire_block.h"
#include "fire/fire_scan.h"
#include "fire/fire_tables.h"

namespace velq {

enum class FireEditResult {
    kStored,      // the value byte changed and the block's checksum was recomputed
    kNotInBlock,  // the block holds no such parameter (empty or unreadable slot): no change
    kOutOfRange,  // the value does not fit the parameter: no change
    kNoSuchSlot,  // slot outside 1..10: no change
    kBadLength,   // the block's length byte points past the block, so no checksum can close
                  // it: no change
    kStarted,     // the slot held no fire macro: a new one was made around the value
};

// The fire page's working copy of the ten blocks, with the parameter positions each slot's
// last scan found. The fire area buffer that goes to the mouse is filled from it on confirm.
class FireBlocks {
public:
    // Copies the ten blocks out of / into a fire area, block by block; the area's spare bytes
    // are never touched.
    void CopyFromArea(const FireArea& area);
    void CopyToArea(FireArea& area) const;

    const FireMacroBlock& Block(int slot) const;  // slot 1..10
    bool SetBlock(int slot, const FireMacroBlock& block);
    FireParamPos Positions(int slot) const;  // slot 1..10

    // Reads slot s for the page: fills the row, records every position it found (positions it
    // did not find keep their last value) and sets the slot's play mode in the entry table
    // from the block's flag. An unreadable flag leaves the table and the positions as they
    // are. None for a slot outside 1..10.
    std::optional<FireRow> ScanFireBlock(int slot,
                                         std::span<uint8_t, kFireEntryTableSize> entry_table);

    // Puts a new value of one parameter into the block at the position the slot's last scan
    // recorded, then recomputes the slot's checksum. Count 1..256 (256 = without end), X and
    // Y -128..127, Time 0..2040 ms (stored in 8 ms units, rounded down).
    // The position is used only while the block still holds the parameter there: an edit of
    // a parameter the block does not contain changes nothing, so a stale position left from
    // an earlier content can never write into an empty or different block. Neither does an
    // edit of a block whose length byte points past the block: no checksum can close such a
    // block, so the edit would pass for stored while the block stays invalid.
    FireEditResult EditParam(int slot, FireParam param, int value);
    // As EditParam, but a slot that holds no fire macro at all (all bytes 0, as on a new mouse
    // or after the delete, or all 0xFF, an erased area) first gets a new one, so that a value
    // typed there is kept: the click-per-shot shape (repeat without end: left down, left up,
    // move 0, 0, wait 8 ms), stopping when the button is released. That shape holds every
    // parameter the page edits, and each pass lets the left button go again, so however the
    // macro ends the button is never left held. The slot is scanned again (positions and play
    // mode); the page shows the new block's other values.
    FireEditResult EditOrStartParam(int slot, FireParam param, int value,
                                    std::span<uint8_t, kFireEntryTableSize> entry_table);

    // Byte 0 of the block (1 = stop on release) and the slot's play mode in the entry table
    // (0x0E / 0x0B). Byte 0 is outside the checksum. False for a slot outside 1..10.
    bool SetStopOnRelease(int slot, bool stop_on_release,
                          std::span<uint8_t, kFireEntryTableSize> entry_table);

    // Recomputes the checksum of slot s (see UpdateFireBlockChecksum).
    bool FireMacroChecksum(int slot);

private:
    std::array<FireMacroBlock, kFireSlotCount> blocks_{};
    std::array<FireParamPos, kFireSlotCount> positions_{};
};

}  // namespace velq
