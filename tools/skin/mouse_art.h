#pragma once

#include <array>
#include <optional>

#include "canvas.h"

namespace velq::skin {

// Where the caption label of button N (index N-1) stands, in the page picture's own
// coordinates; empty when the layout hides the label.
using LabelBoxes = std::array<std::optional<Box>, 9>;

// The office/gaming page picture: the mouse seen from above with its nine buttons marked
// and a leader line from each button to its label.
Canvas DrawMousePage(int width, int height, const LabelBoxes& labels);

}  // namespace velq::skin
