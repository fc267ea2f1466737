#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/utf.h"
#include "macros/macro_content.h"

namespace velq {

// A macro's 32-byte name field: UTF-16 code units, high byte first, at most 16 units, the rest
// zero. A field starting 00 00 or FF FF marks a free entry or slot.
using MacroName = std::array<uint8_t, kMacroNameSize>;
inline constexpr std::size_t kMacroNameUnits = kMacroNameSize / 2;

// Four upper-case hexadecimal digits per code unit, up to the first zero unit ("AB" gives
// "00410042").
std::string NameToHex(std::u16string_view text);

// The name held in a hexadecimal text: groups of four digits read from the right end, each one
// code unit, put together in text order; groups that are not hexadecimal are skipped. The
// visible name ends at the first zero unit.
std::u16string HexToName(std::string_view hex);

// The name field of a text: NameToHex, then two digits per byte from byte 0. Only 16 units fit;
// a surrogate pair that would be cut in half is left out whole.
MacroName MakeMacroName(std::u16string_view text);

// The 64 hexadecimal digits of a name field.
std::string MacroNameHex(std::span<const uint8_t, kMacroNameSize> name);

// The visible name of a name field.
std::u16string MacroNameText(std::span<const uint8_t, kMacroNameSize> name);

// Whether a name field marks a free entry (first two bytes 00 00 or FF FF).
bool IsFreeMacroName(std::span<const uint8_t, kMacroNameSize> name);

}  // namespace velq
