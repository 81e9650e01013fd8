#pragma once

#include "engine/Extended.h"
#include "variables/Tiis.h"

#include <array>
#include <vector>

namespace probex {

/// The function the inspector draws.
enum class DistGraphMode { Probability = 0, Distribution = 1, Quantile = 2 };

/// The graph data of one input variable: a copy of up to 256 profile cells, the number used
/// and the range they span inclusively.
struct TDistGraphData {
    std::array<Extended, ProfileCells> cells{};
    int count = 0;
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

/// The data of a record: its profile for histograms, the kind's fixed shape stretched over
/// [Min, Max] for parametric kinds; nullopt-like (count 0) for kinds without a graph.
TDistGraphData GraphDataFor(const TIis& iis);

/// Probability mode: one bar per cell; distribution mode: the staircase of running sums
/// over the total; quantile mode: the same staircase with the axes exchanged.
TDistGraph BuildDistGraph(const TDistGraphData& data, DistGraphMode mode);

} // namespace probex
