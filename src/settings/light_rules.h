#pragma once

#include <array>

#include "config/mouse_config.h"

namespace velq {

// Which groups of the lighting page each light type shows.
struct LightGroups {
    bool two_colour_modes;  // the two-colour mode group and its entries
    bool left_dpi_keys;     // switching modes with left button + DPI key
    bool brightness;        // full or half brightness
    bool flowing_modes;     // the flowing mode group, its entries and the DPI colours
    bool step_and_lamps;    // the step bar, the lamp bar and the speed slider
    bool operator==(const LightGroups&) const = default;
};

LightGroups GroupsOfLight(LightType type);

// The engineering names of the flowing modes offered; "------" for a mode not offered, so the
// list always holds seven items and a position is always the mode - 1.
inline constexpr const char* kModeNotOffered = "------";

}  // namespace velq
