#include "macros/device_macros.h"

#include <algorithm>
#include <bit>

#include "common/utf.h"
#include "macros/macro_name.h"

namespace velq {

std::string DeviceMacros::ListName(int slot) const {
    if (slot < 1 || slot > static_cast<int>(kMacroSlotCount)) {
        return {};
    }
    const auto name = NameField(slot);
    return IsFreeMacroName(name) ? std::string() : Utf16ToUtf8(MacroNameText(name));
}

DeviceMacros MacrosOfImage(std::span<const uint8_t> image) {
    DeviceMacros macros;
    for (std::size_t s = 0; s < kMacroSlotCount; ++s) {
        const std::size_t at = kMacroSlotAddresses[s];
        if (at + kMacroSlotSize <= image.size()) {
            std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(at), kMacroSlotSize,
                        macros.slot_bytes[s].begin());
        }
    }
    (void)CheckMacroContentBuf(macros.slot_bytes);
    return macros;
}

MacroAssignment AssignMacro(DeviceMacros& macros, std::span<const FunctionCode> codes,
                            std::size_t button, std::span<const uint8_t, kMacroSlotSize> record,
                            AssignTarget target) {
    MacroName name{};
    std::copy_n(record.begin(), kMacroNameSize, name.begin());
    const SlotChoice choice = ChooseMacroSlot(codes, button, macros.slot_bytes, name, target);
    if (!choice) {
        return {0, {}, choice.caption_key};
    }
    MacroSlotBytes& slot = macros.slot_bytes[static_cast<std::size_t>(choice.slot - 1)];
    std::copy(record.begin(), record.end(), slot.begin());
    macros.changed |= 1u << (choice.slot - 1);
    return {choice.slot, MacroSlotCode(choice.slot, record[kMacroNameSize]), {}};
}

SlotMask FollowLibraryMacro(DeviceMacros& macros, const MacroName& name,
                            std::span<const uint8_t, kMacroSlotSize> record) {
    SlotMask followed = 0;
    if (IsFreeMacroName(name)) {
        return followed;  // a free name field names no macro of the library
    }
    for (std::size_t s = 0; s < kMacroSlotCount; ++s) {
        MacroSlotBytes& slot = macros.slot_bytes[s];
        if (!std::equal(name.begin(), name.end(), slot.begin()) ||
            std::equal(record.begin(), record.end(), slot.begin())) {
            continue;
        }
        std::copy(record.begin(), record.end(), slot.begin());
        followed |= 1u << s;
    }
    macros.changed |= followed;
    return followed;
}

void MatchSlotCodes(std::span<FunctionCode> codes, const DeviceMacros& macros, SlotMask slots) {
    for (FunctionCode& code : codes) {
        // The slot the code plays, by the rule that counts the slots in use.
        const SlotMask played = SlotsInUse(std::span(&code, 1), 1) & slots;
        if (played != 0) {
            const int slot = std::countr_zero(played) + 1;
            code = MacroSlotCode(
                slot, macros.slot_bytes[static_cast<std::size_t>(slot - 1)][kMacroNameSize]);
        }
    }
}

}  // namespace velq
