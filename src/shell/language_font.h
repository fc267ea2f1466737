#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velq {

// The script a caption table is written in. Simplified and Traditional Chinese name the same
// face ("宋体") but want different fonts: the same character has its own form in each region.
enum class CaptionScript {
    kLatin,
    kSimplifiedChinese,
    kTraditionalChinese,
};

// The script of a language's caption table: 1 Latin, 2 Simplified Chinese, 3 Traditional
// Chinese; any other number is taken for Latin.
CaptionScript CaptionScriptOf(int language_number);

// The font families to ask the system for, best first, for a font face named by a caption table
// (`FontName`) or by the engineering page. Windows faces are rarely installed on Linux, so each
// is followed by families of the same metrics or style that are; every list ends with CJK
// families, so Chinese text never shows as empty boxes:
//   "Calibri"        -> Carlito (metric-compatible), then common sans faces;
//   "宋体" / SimSun  -> Song/Ming serif CJK faces (Noto Serif CJK SC, AR PL UMing), then CJK sans;
//   "MS Sans Serif"  -> Liberation Sans, DejaVu Sans;
//   any other name   -> that name first, then the common fallbacks.
// The named face itself stays first, so a machine that has it uses it. Traditional Chinese
// differs: "宋体" is a Simplified face and would draw Traditional captions in mainland forms, so
// for it (or no face) the Traditional Ming and sans families (PMingLiU, Noto Serif CJK TC,
// AR PL UMing TW, Noto Sans CJK TC, ...) come first; a Latin face keeps its place and its
// substitutes, and the Traditional families follow them. Either way every Traditional family
// comes before every Simplified one.
std::vector<std::string> FontFamiliesFor(std::string_view font_name,
                                         CaptionScript script = CaptionScript::kLatin);

}  // namespace velq
