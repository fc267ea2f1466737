#pragma once

#include <optional>
#include <string>

#include "common/dpi.h"

namespace velq {

// The DPI levels in use: kMinLevelCount..kDpiLevels; levels 1 and 2 are always in use.
// A click on level n's label (1..7) with `count` levels in use: the next level above the top is
// put in use, the top level (3..7) out of use; any other level leaves the count. Whatever the
// click did, the top level in use becomes the current level.
int LevelCountAfterLabelClick(int count, int level);

// A click on level n's check picture makes it current when it is in use; nothing otherwise.
std::optional<int> CurrentLevelAfterClick(int count, int level);

// The corrections a numeric field makes to its own text before its value is taken, without a
// message: a colour component (an empty field is 0, above 255 is 255), the flowing light's step
// (empty 0, above 7 is 7) and its lamp count (0, 2 and 3 become 4, above 13 is 13, empty 13; a
// lone "1" stays while typing and becomes 4 when the field is left).
std::string CorrectColourText(const std::string& text);
std::string CorrectStepText(const std::string& text);
std::string CorrectLampText(const std::string& text, bool leaving_field);

}  // namespace velq
