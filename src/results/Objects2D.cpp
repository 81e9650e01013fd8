#include "results/Objects2D.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace probex {

namespace {

constexpr long double Low = -FarOffPicture;
constexpr long double High = PictureSide - 1 + FarOffPicture;

bool Near(long double a, long double b, long double c, long double d) {
    for (const long double v : {a, b, c, d})
        if (!(v >= Low && v <= High)) return false;
    return true;
}

/// Liang-Barsky: keeps the part of the segment inside [Low, High] on both axes.
bool Clip(long double& x1, long double& y1, long double& x2, long double& y2) {
    long double t0 = 0;
    long double t1 = 1;
    const long double dx = x2 - x1;
    const long double dy = y2 - y1;
    const std::pair<long double, long double> edges[] = {
        {-dx, x1 - Low}, {dx, High - x1}, {-dy, y1 - Low}, {dy, High - y1}};
    for (const auto& [p, q] : edges) {
        if (p == 0) {
            if (q < 0) return false;
            continue;
        }
        const long double t = q / p;
        if (p < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const long double sx = x1;
    const long double sy = y1;
    x1 = sx + t0 * dx;
    y1 = sy + t0 * dy;
    x2 = sx + t1 * dx;
    y2 = sy + t1 * dy;
    return true;
}

std::optional<PictureBox> Box(long double x1, long double y1, long double x2, long double y2) {
    if (!Near(x1, y1, x2, y2)) return std::nullopt;
    const std::optional<std::int64_t> a = RoundHalfEven(x1);
    const std::optional<std::int64_t> b = RoundHalfEven(y1);
    const std::optional<std::int64_t> c = RoundHalfEven(x2);
    const std::optional<std::int64_t> d = RoundHalfEven(y2);
    if (!a || !b || !c || !d) return std::nullopt;
    PictureBox box;
    box.left = static_cast<double>(std::min(*a, *c));
    box.right = static_cast<double>(std::max(*a, *c));
    box.top = static_cast<double>(std::min(*b, *d));
    box.bottom = static_cast<double>(std::max(*b, *d));
    return box;
}

} // namespace

std::optional<PictureSegment> LineGeometry(const LineRec& line, const Scale2D& scale) {
    if (!scale.valid) return std::nullopt;
    long double x1 = scale.column(line.X1);
    long double x2 = scale.column(line.X2);
    // Rows are rounded from the bottom, as py does, and turned over afterwards.
    long double y1 = scale.lift(line.Y1);
    long double y2 = scale.lift(line.Y2);
    for (const long double v : {x1, y1, x2, y2})
        if (!std::isfinite(v)) return std::nullopt;
    const bool inside = Near(x1, y1, x2, y2);
    if (!inside && !Clip(x1, y1, x2, y2)) return std::nullopt;
    const std::optional<std::int64_t> a = RoundHalfEven(x1);
    const std::optional<std::int64_t> b = RoundHalfEven(y1);
    const std::optional<std::int64_t> c = RoundHalfEven(x2);
    const std::optional<std::int64_t> d = RoundHalfEven(y2);
    if (!a || !b || !c || !d) return std::nullopt;
    return PictureSegment{static_cast<double>(*a), static_cast<double>(255 - *b),
                          static_cast<double>(*c), static_cast<double>(255 - *d)};
}

std::optional<PictureBox> CircleGeometry(const CircleRec& circle, const Scale2D& scale) {
    if (!scale.valid) return std::nullopt;
    const long double x = circle.X;
    const long double y = circle.Y;
    const long double r = circle.R;
    // Each corner is rounded as px and py round it.
    const long double left = scale.column(x - r);
    const long double right = scale.column(x + r);
    const long double lowLift = scale.lift(y - r);
    const long double highLift = scale.lift(y + r);
    const std::optional<std::int64_t> lo = RoundHalfEven(lowLift);
    const std::optional<std::int64_t> hi = RoundHalfEven(highLift);
    if (!lo || !hi || !Near(left, right, lowLift, highLift)) return std::nullopt;
    return Box(left, static_cast<long double>(255 - *lo), right,
               static_cast<long double>(255 - *hi));
}

std::optional<PictureBox> DotGeometry(const DotRec& dot, const Scale2D& scale) {
    if (!scale.valid) return std::nullopt;
    const long double column = scale.column(dot.X);
    const long double lift = scale.lift(dot.Y);
    const long double r = dot.R;
    // py(Y) − R = 255 − rnd(lift + R) and py(Y) + R = 255 − rnd(lift − R).
    const std::optional<std::int64_t> top = RoundHalfEven(lift + r);
    const std::optional<std::int64_t> bottom = RoundHalfEven(lift - r);
    if (!top || !bottom || !Near(column - r, column + r, lift + r, lift - r)) return std::nullopt;
    return Box(column - r, static_cast<long double>(255 - *top), column + r,
               static_cast<long double>(255 - *bottom));
}

} // namespace probex
