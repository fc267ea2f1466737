#include "settings/dpi_levels.h"

namespace velq {

std::optional<int> DpiValueOfIndex(int index) {
    if (index < 0 || index >= static_cast<int>(kDpiValues.size())) {
        return std::nullopt;
    }
    return kDpiValues[static_cast<size_t>(index)];
}

}  // namespace velq
