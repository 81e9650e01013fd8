#pragma once

#include "engine/Extended.h"
#include "variables/Tiis.h"

#include <array>
#include <vector>

namespace probex {

/// The function the inspector draws.
enum class DistGraphMode { Probability = 0, Distribution = 1, Quantile = 2 };

/// The graph data of one input variable: a copy of up to 256 profile cells, the number used
/// and the range they span inclusively. A parametric variable's cells hold its truncated
/// density, and `distribution` its distribution function at the same cells.
struct TDistGraphData {
    std::array<Extended, ProfileCells> cells{};
    int count = 0;
    bool exact = false; ///< `distribution` holds the formula's values
    std::array<Extended, ProfileCells> distribution{};
    Extended gMin = 0;
    Extended gMax = 0;
};

struct TDistGraphPoint {
    double x;
    double y;
};

/// The points and the axes of one mode.
struct TDistGraph {
    std::vector<TDistGraphPoint> points;
    double xMin = 0;
    double xMax = 1;
    double yMin = 0;
    double yMax = 1;
};

/// The data of a record: its profile for histograms, the truncated density and distribution
/// function over [Min, Max] for parametric kinds; count 0 for kinds without a graph (and for
/// parameters that put no probability between Min and Max).
TDistGraphData GraphDataFor(const TIis& iis);

/// Probability mode: one bar per cell; distribution mode: the staircase of running sums
/// over the total, or for exact data the curve through the distribution function's values;
/// quantile mode: the same with the axes exchanged.
TDistGraph BuildDistGraph(const TDistGraphData& data, DistGraphMode mode);

} // namespace probex
