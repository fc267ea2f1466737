#pragma once

#include <array>

namespace velq {

// The mouse's DPI levels and the DPI value list a level's value indexes (`DPIValueList`): one
// definition for the image layout, the settings, the layouts and the pages.
inline constexpr int kDpiLevels = 7;
inline constexpr int kMinLevelCount = 2;
inline constexpr std::array<int, 12> kDpiValues = {500,  800,  1000, 1200, 1600, 2000,
                                                   2400, 3200, 4000, 4800, 6400, 8000};
inline constexpr int kDpiValueCount = static_cast<int>(kDpiValues.size());

}  // namespace velq
