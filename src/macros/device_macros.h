#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "buttons/function_code.h"
#include "macros/macro_content.h"
#include "macros/macro_slot_choice.h"

namespace velq {

// The editor's copy of the mouse's six macro slots (`DeviceMacros`): what a button that plays
// slot k runs once Apply has written it. It is refilled by every read of the mouse, reset and
// profile load; giving a button a macro copies the library's macro into a slot here and marks
// the slot, and Apply writes the marked slots a button plays.
struct DeviceMacros {
    // Slot k at index k - 1: a 32-byte name, then the 224-byte device-form content. After a
    // read of the parameters alone the names are the mouse's and the contents unknown; they are
    // never written unless a macro is given to the slot first.
    std::array<MacroSlotBytes, kMacroSlotCount> slot_bytes{};
    // Slots given a macro since the mouse was last read or written.
    SlotMask changed = 0;

    bool operator==(const DeviceMacros&) const = default;

    // The name field of slot 1..6.
    std::span<const uint8_t, kMacroNameSize> NameField(int slot) const {
        return std::span(slot_bytes.at(static_cast<std::size_t>(slot - 1))).first<kMacroNameSize>();
    }
    // `LB_MacroName`'s entry for slot 1..6: the slot's name, empty for a free name field.
    std::string ListName(int slot) const;
};

// The copy taken from the slot areas of a memory image (0x100-0x4FF and 0x600-0x7FF), nothing
// marked; contents that fail their check are emptied, names stay (`ReadAndRefreshMacro`).
DeviceMacros MacrosOfImage(std::span<const uint8_t> image);

// The outcome of giving a button a library macro.
struct MacroAssignment {
    int slot = 0;  // 1..6; 0 when refused
    FunctionCode code{};
    std::string_view refusal_key;  // the message of a refusal (no free slot)
    explicit operator bool() const { return slot != 0; }
};

// `AssignMacro` with macros kept in the mouse: button `button` of `codes` (both profiles'
// codes) is given the library macro `record` (its name field and content). The slot is chosen
// with the button's own code not counting; the macro's name and content are stored there and
// the slot is marked for the next Apply. The code plays the slot to its end (06) or while the
// button is held (0E), by the content's first byte. Refused (nothing stored) when no slot is
// free: all six held by other buttons' macros of other names, or, on the engineering page,
// when the macro's place would be slot 5 or 6.
[[nodiscard]] MacroAssignment AssignMacro(DeviceMacros& macros, std::span<const FunctionCode> codes,
                                          std::size_t button,
                                          std::span<const uint8_t, kMacroSlotSize> record,
                                          AssignTarget target);

// A library macro committed anew (its events, options or name): the slots that hold a macro
// named `name` (its name before a rename) take `record`, its name field and content as the
// library holds them now, and are marked, so the next Apply writes those a button plays. A slot
// that holds it already is left unmarked. Returns the slots changed.
SlotMask FollowLibraryMacro(DeviceMacros& macros, const MacroName& name,
                            std::span<const uint8_t, kMacroSlotSize> record);

// The codes in `codes` that play a slot of `slots` play it as its content's first byte says now
// (to its end, or while the button is held).
void MatchSlotCodes(std::span<FunctionCode> codes, const DeviceMacros& macros, SlotMask slots);

}  // namespace velq
