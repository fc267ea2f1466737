#include "shapes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

namespace velq::skin {

Sdf RoundRect(float x0, float y0, float x1, float y1, float radius) {
    const float cx = (x0 + x1) / 2;
    const float cy = (y0 + y1) / 2;
    const float hx = (x1 - x0) / 2 - radius;
    const float hy = (y1 - y0) / 2 - radius;
    return [=](float x, float y) {
        const float qx = std::fabs(x - cx) - hx;
        const float qy = std::fabs(y - cy) - hy;
        const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
        return outside + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

Sdf Circle(float cx, float cy, float radius) {
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; };
}

Sdf Ellipse(float cx, float cy, float rx, float ry) {
    // Scaled circle distance, corrected by the gradient length: exact enough for edges.
    return [=](float x, float y) {
        const float nx = (x - cx) / rx;
        const float ny = (y - cy) / ry;
        const float k = std::hypot(nx, ny);
        const float gx = nx / rx;
        const float gy = ny / ry;
        const float g = std::max(std::hypot(gx, gy), 1e-6f);
        return k * (k - 1.0f) / g;
    };
}

namespace {

float SegmentDistance(Point p, Point a, Point b) {
    const float bax = b.x - a.x;
    const float bay = b.y - a.y;
    const float len2 = std::max(bax * bax + bay * bay, 1e-9f);
    const float t = std::clamp(((p.x - a.x) * bax + (p.y - a.y) * bay) / len2, 0.0f, 1.0f);
    return std::hypot(p.x - a.x - bax * t, p.y - a.y - bay * t);
}

}  // namespace

Sdf Capsule(Point a, Point b, float width) {
    return [=](float x, float y) { return SegmentDistance({x, y}, a, b) - width / 2; };
}

Sdf Polygon(std::vector<Point> points) {
    return [pts = std::move(points)](float x, float y) {
        float best = std::numeric_limits<float>::max();
        bool inside = false;
        const std::size_t n = pts.size();
        for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
            const Point& a = pts[i];
            const Point& b = pts[j];
            best = std::min(best, SegmentDistance({x, y}, a, b));
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
                inside = !inside;
            }
        }
        return inside ? -best : best;
    };
}

Sdf ChamferRect(float x0, float y0, float x1, float y1, float cut) {
    // A box intersected with a diamond whose sides make the 45-degree cuts; the sign (inside
    // or not) is exact, which is what the hard-edged window outline relies on.
    const Sdf box = RoundRect(x0, y0, x1, y1, 0);
    const float cx = (x0 + x1) / 2;
    const float cy = (y0 + y1) / 2;
    const float reach = (x1 - x0) / 2 + (y1 - y0) / 2 - cut;
    return [=](float x, float y) {
        const float diamond =
            (std::fabs(x - cx) + std::fabs(y - cy) - reach) / std::numbers::sqrt2_v<float>;
        return std::max(box(x, y), diamond);
    };
}

Sdf Union(Sdf a, Sdf b) {
    return [a = std::move(a), b = std::move(b)](float x, float y) {
        return std::min(a(x, y), b(x, y));
    };
}

Sdf Intersect(Sdf a, Sdf b) {
    return [a = std::move(a), b = std::move(b)](float x, float y) {
        return std::max(a(x, y), b(x, y));
    };
}

Sdf Subtract(Sdf a, Sdf b) {
    return [a = std::move(a), b = std::move(b)](float x, float y) {
        return std::max(a(x, y), -b(x, y));
    };
}

Sdf Offset(Sdf a, float amount) {
    return [a = std::move(a), amount](float x, float y) { return a(x, y) - amount; };
}

Sdf HalfPlane(float a, float b, float c) {
    const float len = std::max(std::hypot(a, b), 1e-9f);
    return [=](float x, float y) { return (a * x + b * y + c) / len; };
}

Box BoundsOf(const std::vector<Point>& points) {
    Box box{std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
            std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest()};
    for (const Point& p : points) {
        box.x0 = std::min(box.x0, p.x);
        box.y0 = std::min(box.y0, p.y);
        box.x1 = std::max(box.x1, p.x);
        box.y1 = std::max(box.y1, p.y);
    }
    return box;
}

Box Grow(const Box& box, float amount) {
    return {box.x0 - amount, box.y0 - amount, box.x1 + amount, box.y1 + amount};
}

}  // namespace velq::skin
