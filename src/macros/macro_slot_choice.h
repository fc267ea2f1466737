#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "buttons/function_code.h"
#include "macros/macro_content.h"
#include "macros/macro_name.h"
#include "macros/macro_slots.h"

namespace velq {

// Which of the mouse's six macro slots a macro given to a button goes to, and which slots an
// Apply writes.
//
// A slot is in use while a button's code plays it (type 06 or 0E with the slot's locator). A
// new macro goes to the slot after the last one in use when the slots in use are 1..m without
// a gap, or to the slot that already holds a macro of the same name; otherwise into the gap.

// Slots as bits: bit k - 1 stands for slot k.
using SlotMask = unsigned;

// The message for a macro that finds no free slot.
inline constexpr std::string_view kNoFreeSlotCaptionKey = "Str104";

// The slots the codes play. `skip` is left out (the button being given a macro: its own macro
// does not hold a slot against the new one); pass codes.size() to count every code.
SlotMask SlotsInUse(std::span<const FunctionCode> codes, std::size_t skip);

struct SlotChoice {
    int slot = 0;                  // 1..6; 0 when none is free
    std::string_view caption_key;  // kNoFreeSlotCaptionKey when none is free
    explicit operator bool() const { return slot != 0; }
};

// The slot among all six for the macro named `name`. Where the slots in use have a gap, the
// gap rules pick the slot; in the three patterns whose rule would pick a slot in use (3-5,
// 3-6, and 1 with 4-6) the lowest free slot is taken instead, since storing into a slot in use
// would take its macro from the buttons that play it. None when all six are in use and none
// holds a macro of this name.
[[nodiscard]] SlotChoice FindBaseMacroCount(SlotMask in_use,
                                            std::span<const MacroSlotBytes, kMacroSlotCount> slots,
                                            const MacroName& name);

// The same over slots 1..4 only, for the buttons of the engineering page.
[[nodiscard]] SlotChoice FindBaseMacroIndex(SlotMask in_use,
                                            std::span<const MacroSlotBytes, kMacroSlotCount> slots,
                                            const MacroName& name);

// Where a macro is given from.
enum class AssignTarget {
    kMainPage,         // any of the six slots
    kEngineeringPage,  // slots 1..4 only; refused where the six-slot choice would be 5 or 6
};

// The slot for a macro given to button `button` of `codes` (both profiles' codes, in any
// order), that button's own code not counting.
[[nodiscard]] SlotChoice ChooseMacroSlot(std::span<const FunctionCode> codes, std::size_t button,
                                         std::span<const MacroSlotBytes, kMacroSlotCount> slots,
                                         const MacroName& name, AssignTarget target);

// The code of a button that plays slot 1..6: type 0E for a macro that stops when the button is
// released (StopOnRelease 0x01), 06 otherwise, then the slot's locator ("060221" for slot 2).
FunctionCode MacroSlotCode(int slot, uint8_t stop_on_release);

// The slots an Apply writes: those given a macro since the mouse was last read or written
// (`changed`) that a button plays. A slot no button plays is never written, and one the mouse
// holds as it was read costs nothing.
SlotMask SlotsToWrite(std::span<const FunctionCode> codes, SlotMask changed);

}  // namespace velq
