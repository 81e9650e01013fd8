#pragma once

#include "engine/Extended.h"

#include <vector>

namespace probex {

struct TOutHis;

/// Computes the histogram's fields up to `level` (1: occupied span, total, hist min and max;
/// 2: mean, variance, stdev, covar; 3: skew, kurt), with `withMarks` also the median and the
/// four mark results, and stores the level. Level 0 with marks counts as level 1.
void HisCompute(TOutHis& his, int level, bool withMarks);

/// The value below which a share P of the histogram lies.
Extended HisQuantile(TOutHis& his, Extended p);

/// The share of the histogram at or below the value Q.
Extended HisProbability(TOutHis& his, Extended q);

enum class HisCurveKind {
    Histogram = 0,    ///< (position, count)
    Distribution = 1, ///< (position, cumulative share)
    Quantile = 2,     ///< (cumulative share, position)
};

struct HisCurvePoint {
    Extended x = 0;
    Extended y = 0;
};

/// The points of one curve over the occupied bins and the axis ranges to draw it in.
struct HisCurvePoints {
    std::vector<HisCurvePoint> points; ///< empty when the histogram has no range
    Extended xMin = 0;
    Extended xMax = 0;
    Extended yMin = 0;
    Extended yMax = 0;
    bool verticalMarks = true; ///< marks are drawn as vertical lines, else horizontal
};

/// The curve of `kind` for the histogram's occupied bins, bin F drawn at hist min and bin L at
/// hist max. A histogram with one occupied bin is drawn as one point midway between them.
HisCurvePoints HisCurve(TOutHis& his, HisCurveKind kind);

} // namespace probex
