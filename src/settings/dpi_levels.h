#pragma once

#include <array>
#include <optional>

namespace velq {

// `DPIValueList`: the twelve DPI values a level can take; a level stores its index.
inline constexpr std::array<int, 12> kDpiValues = {500,  800,  1000, 1200, 1600, 2000,
                                                   2400, 3200, 4000, 4800, 6400, 8000};

// The DPI value of a stored index, or nothing for an index outside the list (an unset level
// holds 0xFF).
std::optional<int> DpiValueOfIndex(int index);

}  // namespace velq
