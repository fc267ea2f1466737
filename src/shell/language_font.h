#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velq {

// The font families to ask the system for, best first, for a font face named by a caption table
// (`FontName`) or by the engineering page. Windows faces are rarely installed on Linux, so each
// is followed by families of the same metrics or style that are; every list ends with CJK
// families, so Chinese text never shows as empty boxes:
//   "Calibri"        -> Carlito (metric-compatible), then common sans faces;
//   "宋体" / SimSun  -> Song/Ming serif CJK faces (Noto Serif CJK SC, AR PL UMing), then CJK sans;
//   "MS Sans Serif"  -> Liberation Sans, DejaVu Sans;
//   any other name   -> that name first, then the common fallbacks.
// The named face itself stays first, so a machine that has it uses it.
std::vector<std::string> FontFamiliesFor(std::string_view font_name);

}  // namespace velq
