#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "buttons/function_code.h"
#include "common/checksum.h"
#include "device/virtual_mouse.h"
#include "image/memory_map.h"
#include "macros/macro_content.h"
#include "macros/macro_name.h"

namespace velq::test {

inline constexpr uint16_t kProfileAddress = 0x40;
inline constexpr uint16_t kProfileChecksumAddress = 0x76;

// Puts a three-byte function code on a button and keeps the profile checksum valid.
inline void SetButton(VirtualMouse::Memory& memory, int profile, int button, FunctionCode code) {
    const size_t at = kProfileAddress + (profile == 1 ? 0 : 0x1B) + 3 * (button - 1);
    memory[at] = code.type;
    memory[at + 1] = code.p1;
    memory[at + 2] = code.p2;
    memory[kProfileChecksumAddress] =
        SectionChecksum(std::span(memory).subspan(kProfileAddress, kProfileSize - 1));
}

// A mouse that holds more than the built-in images: two aim keys with different DPIs, a macro
// on a button of each profile, a filled fire area and macro slots.
inline VirtualMouse::Memory RichImage(const DataBuf& base) {
    VirtualMouse::Memory memory;
    std::copy(base.begin(), base.end(), memory.begin());
    SetButton(memory, 1, 4, {0x0A, 0x05, 0x00});  // aim key at 1600 DPI
    SetButton(memory, 2, 5, {0x0A, 0x02, 0x00});  // aim key at 800 DPI
    SetButton(memory, 1, 9, {0x06, 0x02, 0x21});  // macro of slot 2
    SetButton(memory, 2, 8, {0x0E, 0x05, 0x21});  // stop-at-release macro of slot 5
    for (size_t s = 0; s < kMacroSlotCount; ++s) {
        const MacroName name = MakeMacroName(u"Macro " + std::u16string(1, u'1' + s));
        std::copy(name.begin(), name.end(), memory.begin() + kMacroSlotBase[s]);
        for (size_t i = kMacroNameSize; i < kMacroSlotSize; ++i) {
            memory[kMacroSlotBase[s] + i] = static_cast<uint8_t>(i * 3 + s);
        }
    }
    for (size_t i = 0; i < 256; ++i) {
        memory[0x500 + i] = static_cast<uint8_t>(0x80 + i * 5);
    }
    return memory;
}

// A library macro: its name field, then a content of one key event whose byte tells the
// macros apart.
inline MacroSlotBytes LibraryMacro(std::u16string_view name, uint8_t key) {
    MacroSlotBytes record{};
    const MacroName field = MakeMacroName(name);
    std::copy(field.begin(), field.end(), record.begin());
    const uint8_t tokens[] = {0x10, key};
    record[kMacroNameSize + 1] = static_cast<uint8_t>(std::size(tokens) + 1);
    std::copy(std::begin(tokens), std::end(tokens), record.begin() + kMacroNameSize + 2);
    record[kMacroNameSize + 2 + std::size(tokens)] = SectionChecksum(
        std::span<const uint8_t>(record).subspan(kMacroNameSize + 1, std::size(tokens) + 1));
    return record;
}

}  // namespace velq::test
