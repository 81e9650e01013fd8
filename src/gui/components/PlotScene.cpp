#include "gui/components/PlotScene.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace probex {

TPlotRange TPlotScene::fullRange() const {
    double lo[2] = {std::numeric_limits<double>::infinity(),
                    std::numeric_limits<double>::infinity()};
    double hi[2] = {-lo[0], -lo[1]};
    const bool logarithmic[2] = {x.logarithmic, y.logarithmic};
    const auto take = [&](int axis, double v) {
        if (!std::isfinite(v) || (logarithmic[axis] && !(v > 0))) return;
        lo[axis] = std::min(lo[axis], v);
        hi[axis] = std::max(hi[axis], v);
    };
    for (const TPlotSeries& s : series) {
        if (!s.visible) continue;
        for (const QPointF& p : s.points) {
            take(0, p.x());
            take(1, p.y());
        }
        // A bar stands on zero, so zero belongs to the range it needs.
        if (s.kind == PlotSeriesKind::Bar && !s.points.isEmpty() && !y.logarithmic) take(1, 0.0);
        if (s.kind == PlotSeriesKind::HorizontalBar && !s.points.isEmpty() && !x.logarithmic)
            take(0, 0.0);
    }
    const TPlotAxis* axes[2] = {&x, &y};
    double out[2][2];
    for (int a = 0; a < 2; ++a) {
        if (!axes[a]->automatic || lo[a] > hi[a]) {
            out[a][0] = axes[a]->min;
            out[a][1] = axes[a]->max;
        } else {
            out[a][0] = lo[a];
            out[a][1] = hi[a];
        }
    }
    return {out[0][0], out[0][1], out[1][0], out[1][1]};
}

} // namespace probex
