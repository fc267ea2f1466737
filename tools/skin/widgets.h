#pragma once

#include <optional>
#include <string_view>

#include "canvas.h"

namespace velq::skin {

// How a skinned control looks in one of its states.
enum class Look { kNormal, kHover, kActive, kAlert };

// A rounded button plate of the whole canvas: graphite when normal, lit border on hover,
// amber-tinted fill when pressed or selected, red when recording.
void DrawPlate(Canvas& c, const Box& box, float radius, Look look);

// The small controls: frame, tab, language, slot, web and macro buttons, check boxes, radio
// options, swatch frame, bar cells, slider parts and gun slot indicators. Empty when `name`
// is not one of them.
std::optional<Canvas> DrawWidget(std::string_view name, int width, int height);

}  // namespace velq::skin
