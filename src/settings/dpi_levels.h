#pragma once

#include <optional>

#include "common/dpi.h"

namespace velq {

// The DPI value of a stored index, or nothing for an index outside the list (an unset level
// holds 0xFF).
std::optional<int> DpiValueOfIndex(int index);

}  // namespace velq
