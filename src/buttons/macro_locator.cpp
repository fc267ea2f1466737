#include "buttons/macro_locator.h"

namespace velq {

std::optional<uint16_t> MacroSlotLocator(int slot) {
    if (slot < 1 || slot > static_cast<int>(kMacroSlotCount)) {
        return std::nullopt;
    }
    return kMacroSlotLocators[static_cast<std::size_t>(slot - 1)];
}

std::optional<int> MacroSlotOfLocator(uint16_t locator) {
    for (std::size_t i = 0; i < kMacroSlotCount; ++i) {
        if (kMacroSlotLocators[i] == locator) {
            return static_cast<int>(i + 1);
        }
    }
    return std::nullopt;
}

std::optional<uint16_t> DriverMacroLocator(std::size_t n) {
    const uint64_t locator = kDriverMacroLocatorBase + uint64_t{kDriverMacroLocatorStep} * n;
    if (locator > 0xFFFF) {
        return std::nullopt;
    }
    return static_cast<uint16_t>(locator);
}

std::optional<std::size_t> DriverMacroIndexOfLocator(uint16_t locator) {
    if (locator < kDriverMacroLocatorBase) {
        return std::nullopt;
    }
    const uint32_t offset = locator - kDriverMacroLocatorBase;
    if (offset % kDriverMacroLocatorStep != 0) {
        return std::nullopt;
    }
    return offset / kDriverMacroLocatorStep;
}

}  // namespace velq
