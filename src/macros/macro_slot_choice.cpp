#include "macros/macro_slot_choice.h"

#include <algorithm>
#include <bit>
#include <optional>

namespace velq {
namespace {

constexpr bool InUse(SlotMask mask, int slot) {
    return (mask >> (slot - 1)) & 1u;
}

constexpr SlotMask FirstSlots(int m) {
    return (1u << m) - 1;
}

bool IsMacroCode(const FunctionCode& code) {
    return code.type == static_cast<uint8_t>(CodeType::kMacroRun) ||
           code.type == static_cast<uint8_t>(CodeType::kMacroHold);
}

// The one slot among 1..`slot_count` whose name equals `name`; none when no slot or more than
// one holds it.
std::optional<int> SlotOfName(std::span<const MacroSlotBytes, kMacroSlotCount> slots,
                              const MacroName& name, int slot_count) {
    std::optional<int> found;
    int matches = 0;
    for (int k = 1; k <= slot_count; ++k) {
        const MacroSlotBytes& slot = slots[static_cast<std::size_t>(k - 1)];
        if (std::equal(name.begin(), name.end(), slot.begin())) {
            found = k;
            ++matches;
        }
    }
    return matches == 1 ? found : std::nullopt;
}

SlotChoice Chosen(int slot) {
    return {slot, {}};
}

SlotChoice NoneFree() {
    return {0, kNoFreeSlotCaptionKey};
}

// The choice over slots 1..`slot_count` (6 or 4).
SlotChoice Choose(SlotMask in_use, std::span<const MacroSlotBytes, kMacroSlotCount> slots,
                  const MacroName& name, int slot_count) {
    in_use &= FirstSlots(slot_count);
    // Slots 1..m in use without a gap: the next one, or the slot of the same macro.
    for (int m = 0; m <= slot_count; ++m) {
        if (in_use != FirstSlots(m)) {
            continue;
        }
        if (const auto same = SlotOfName(slots, name, slot_count)) {
            return Chosen(*same);
        }
        return m < slot_count ? Chosen(m + 1) : NoneFree();
    }
    // A gap: the first rule that holds. The last slot's rule differs between the two choices:
    // among four slots a free slot 4 after a used slot 3 is taken.
    if (!InUse(in_use, 1) && InUse(in_use, 2)) {
        return Chosen(1);
    }
    for (int k = 2; k < slot_count; ++k) {
        if (InUse(in_use, k - 1) && !InUse(in_use, k) && InUse(in_use, k + 1)) {
            return Chosen(k);
        }
    }
    if (slot_count == 4 && InUse(in_use, 3) && !InUse(in_use, 4)) {
        return Chosen(4);
    }
    const int count = std::popcount(in_use);
    if (count >= 1 && !InUse(in_use, count)) {
        return Chosen(count);
    }
    // The count names a slot in use (slots 3-5, 3-6, or 1 and 4-6): the lowest free one.
    for (int k = 1; k <= slot_count; ++k) {
        if (!InUse(in_use, k)) {
            return Chosen(k);
        }
    }
    return NoneFree();
}

}  // namespace

SlotMask SlotsInUse(std::span<const FunctionCode> codes, std::size_t skip) {
    SlotMask mask = 0;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (i == skip || !IsMacroCode(codes[i])) {
            continue;
        }
        if (const auto slot = MacroSlotOfLocator(codes[i].Parameter())) {
            mask |= 1u << (*slot - 1);
        }
    }
    return mask;
}

SlotChoice FindBaseMacroCount(SlotMask in_use,
                              std::span<const MacroSlotBytes, kMacroSlotCount> slots,
                              const MacroName& name) {
    return Choose(in_use, slots, name, static_cast<int>(kMacroSlotCount));
}

SlotChoice FindBaseMacroIndex(SlotMask in_use,
                              std::span<const MacroSlotBytes, kMacroSlotCount> slots,
                              const MacroName& name) {
    return Choose(in_use, slots, name, 4);
}

SlotChoice ChooseMacroSlot(std::span<const FunctionCode> codes, std::size_t button,
                           std::span<const MacroSlotBytes, kMacroSlotCount> slots,
                           const MacroName& name, AssignTarget target) {
    const SlotMask in_use = SlotsInUse(codes, button);
    const SlotChoice six = FindBaseMacroCount(in_use, slots, name);
    if (target == AssignTarget::kMainPage) {
        return six;
    }
    // The engineering page reaches slots 1..4: a macro whose place among all six would be slot
    // 5 or 6 finds no room there.
    if (!six || six.slot > 4) {
        return NoneFree();
    }
    return FindBaseMacroIndex(in_use, slots, name);
}

FunctionCode MacroSlotCode(int slot, uint8_t stop_on_release) {
    const uint16_t locator = MacroSlotLocator(slot).value_or(0);
    const CodeType type =
        stop_on_release == kStopOnReleaseFlag ? CodeType::kMacroHold : CodeType::kMacroRun;
    return FunctionCode{static_cast<uint8_t>(type), static_cast<uint8_t>(locator >> 8),
                        static_cast<uint8_t>(locator & 0xFF)};
}

SlotMask SlotsToWrite(std::span<const FunctionCode> codes, SlotMask changed) {
    return SlotsInUse(codes, codes.size()) & changed;
}

}  // namespace velq
