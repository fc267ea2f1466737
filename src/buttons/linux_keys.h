#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace velq {

// Keys by where they sit on the keyboard. The mouse sends keyboard usages, which the PC reads
// through its own layout; so a recorded key keeps the usage of the physical key pressed, and the
// macro types on the user's layout what the user typed. Linux names a physical key by its
// kernel key code (input-event-codes.h; an X keycode is that code + 8).
struct LinuxKeyUsage {
    uint16_t key_code;
    uint8_t usage;
};

std::span<const LinuxKeyUsage> LinuxKeyUsageTable();

// The keyboard usage of a kernel key code (the program's own codes for the multimedia and
// browser keys); 0 for a key without one.
uint8_t UsageOfLinuxKey(uint16_t key_code);

// The virtual-key code raw keyboard input reports for the key of a usage, by the key list: the
// generic Shift, Ctrl and Alt for either hand, the side of the Windows keys. None for a usage
// no key of the list has.
std::optional<uint8_t> VirtualKeyOfUsage(uint8_t usage);

}  // namespace velq
