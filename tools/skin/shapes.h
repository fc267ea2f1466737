#pragma once

#include <vector>

#include "canvas.h"

namespace velq::skin {

struct Point {
    float x = 0;
    float y = 0;
};

Sdf RoundRect(float x0, float y0, float x1, float y1, float radius);
Sdf Circle(float cx, float cy, float radius);
Sdf Ellipse(float cx, float cy, float rx, float ry);
// A line from a to b with round caps, `width` thick.
Sdf Capsule(Point a, Point b, float width);
// A closed polygon (any winding, may be concave).
Sdf Polygon(std::vector<Point> points);
// A rectangle whose four corners are cut off at 45 degrees by `cut` pixels.
Sdf ChamferRect(float x0, float y0, float x1, float y1, float cut);

Sdf Union(Sdf a, Sdf b);
Sdf Intersect(Sdf a, Sdf b);
Sdf Subtract(Sdf a, Sdf b);
// Grows (positive) or shrinks (negative) a shape by `amount` pixels.
Sdf Offset(Sdf a, float amount);
// The half plane where a*x + b*y + c <= 0 (a, b normalised by the function).
Sdf HalfPlane(float a, float b, float c);

Box BoundsOf(const std::vector<Point>& points);
Box Grow(const Box& box, float amount);

}  // namespace velq::skin
