#pragma once

#include <cstddef>

namespace velq {

// A macro slot of the mouse: a 32-byte name followed by the 224-byte device-form content. The
// memory map and the macro format both rely on these sizes.
inline constexpr std::size_t kMacroNameSize = 32;
inline constexpr std::size_t kMacroContentSize = 224;
inline constexpr std::size_t kMacroSlotSize = kMacroNameSize + kMacroContentSize;  // 256
// The mouse holds six macro slots.
inline constexpr std::size_t kMacroSlotCount = 6;

}  // namespace velq
