#include "gui/variables/DistributionGraph.h"

#include "variables/DistributionCurves.h"

#include <algorithm>

namespace probex {

TDistGraphData GraphDataFor(const TIis& iis) {
    TDistGraphData data;
    if (iis.Kind == DistKind::dkDiscrete || iis.Kind == DistKind::dkContinuous) {
        data.cells = iis.Profile;
        data.count = std::clamp(iis.ProfileCount, 0, ProfileCells);
    } else if (TDistributionCurves curves; TruncatedCurves(iis, curves)) {
        data.cells = curves.Density;
        data.distribution = curves.Distribution;
        data.count = ProfileCells;
        data.exact = true;
    }
    data.gMin = iis.Min;
    data.gMax = iis.Max;
    return data;
}

TDistGraph BuildDistGraph(const TDistGraphData& data, DistGraphMode mode) {
    TDistGraph graph;
    const int n = data.count;
    if (n <= 0) return graph;
    const Extended h = n > 1 ? (data.gMax - data.gMin) / (n - 1) : 0;
    const auto x = [&](int i) { return static_cast<double>(data.gMin + i * h); };
    const double gMin = static_cast<double>(data.gMin);
    const double gMax = static_cast<double>(data.gMax);

    if (mode == DistGraphMode::Probability) {
        Extended largest = 0;
        for (int i = 0; i < n; ++i) {
            graph.points.push_back({x(i), static_cast<double>(data.cells[i])});
            largest = std::max(largest, data.cells[i]);
        }
        graph.xMin = gMin;
        graph.xMax = gMax;
        graph.yMin = 0;
        graph.yMax = static_cast<double>(largest);
        return graph;
    }

    Extended total = 0;
    for (int i = 0; i < n; ++i)
        total += data.cells[i];
    // An all-zero profile has no distribution; draw it flat instead of dividing by zero.
    const auto share = [&](Extended sum) {
        return total != 0 ? static_cast<double>(sum / total) : 0.0;
    };
    const bool swap = mode == DistGraphMode::Quantile;
    const auto add = [&](double at, double p) {
        graph.points.push_back(swap ? TDistGraphPoint{p, at} : TDistGraphPoint{at, p});
    };
    if (data.exact) {
        for (int i = 0; i < n; ++i)
            add(x(i), static_cast<double>(data.distribution[i]));
    } else {
        Extended sum = data.cells[0];
        add(gMin, 0);
        add(gMin, share(sum));
        for (int i = 1; i < n; ++i) {
            add(x(i), share(sum));
            sum += data.cells[i];
            add(x(i), share(sum));
        }
    }
    if (swap) {
        graph.xMin = 0;
        graph.xMax = 1;
        graph.yMin = gMin;
        graph.yMax = gMax;
    } else {
        graph.xMin = gMin;
        graph.xMax = gMax;
        graph.yMin = 0;
        graph.yMax = 1;
    }
    return graph;
}

} // namespace probex
