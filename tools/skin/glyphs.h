#pragma once

#include "canvas.h"

namespace velq::skin {

// Line icons drawn with antialiased strokes; none of them carries text, so every language
// shares them.
void DrawGlobe(Canvas& c, float cx, float cy, float r, Rgba ink, float line);
void DrawClock(Canvas& c, float cx, float cy, float r, Rgba ink, float line);
void DrawKeyCap(Canvas& c, float cx, float cy, float size, Rgba ink, float line);
void DrawAxes(Canvas& c, float cx, float cy, float size, Rgba ink, float line);
// The product mark: two chevrons forming a stylised V, with a glow.
void DrawMark(Canvas& c, float cx, float cy, float size, Rgba ink);
// A rifle or cartridge silhouette for gun number 1..7 inside the box, filled with `ink`.
void DrawGun(Canvas& c, int gun, const Box& box, Rgba ink);

}  // namespace velq::skin
