#pragma once

#include "canvas.h"

namespace velq::skin::theme {

// One dark graphite theme with a single amber accent for hover, selection and light; the
// layouts use the same amber for their headings.
inline constexpr Rgba kKey = Hex(0x800000);  // the window's transparent colour key

inline constexpr Rgba kVoid = Hex(0x0B0D10);     // deepest background
inline constexpr Rgba kBase = Hex(0x12151A);     // window body
inline constexpr Rgba kPanel = Hex(0x191D23);    // raised panel
inline constexpr Rgba kPanelHi = Hex(0x222730);  // top of a panel gradient
inline constexpr Rgba kWell = Hex(0x0E1014);     // recessed field
inline constexpr Rgba kEdge = Hex(0x2C323B);     // panel border
inline constexpr Rgba kEdgeHi = Hex(0x3B434E);   // lit border
inline constexpr Rgba kShine = Hex(0xFFFFFF, 0.07f);
inline constexpr Rgba kShade = Hex(0x000000, 0.45f);
inline constexpr Rgba kMute = Hex(0x5B6573);  // inactive glyph
inline constexpr Rgba kSoft = Hex(0x8C97A6);  // secondary glyph

inline constexpr Rgba kAccent = Hex(0xFFB030);      // amber light
inline constexpr Rgba kAccentHi = Hex(0xFFE2A8);    // hot centre of the light
inline constexpr Rgba kAccentDeep = Hex(0x4A3210);  // amber-tinted fill of selected items
inline constexpr Rgba kActiveTop = Hex(0x6E4A14);   // gradient of pressed and selected plates
inline constexpr Rgba kActiveBottom = Hex(0x3A270C);
inline constexpr Rgba kAccentDim = Hex(0x8A5E1A);
inline constexpr Rgba kInkOnAccent = Hex(0x2A1A04);  // dark glyph on a lit amber fill

inline constexpr Rgba kAlert = Hex(0xF25555);  // exit hover and macro recording
inline constexpr Rgba kAlertDeep = Hex(0x4A1518);

}  // namespace velq::skin::theme
