#pragma once

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <vector>

namespace probex::test {

/// Spearman's rank correlation of two samples without ties.
inline double RankCorrelation(const std::vector<double>& x, const std::vector<double>& y) {
    const auto ranks = [](const std::vector<double>& v) {
        std::vector<std::size_t> order(v.size());
        std::iota(order.begin(), order.end(), 0);
        std::sort(order.begin(), order.end(), [&v](auto i, auto j) { return v[i] < v[j]; });
        std::vector<double> rank(v.size());
        for (std::size_t k = 0; k < order.size(); ++k)
            rank[order[k]] = static_cast<double>(k);
        return rank;
    };
    const std::vector<double> rx = ranks(x), ry = ranks(y);
    const double mean = (static_cast<double>(x.size()) - 1) / 2;
    double sxy = 0, sxx = 0;
    for (std::size_t k = 0; k < x.size(); ++k) {
        sxy += (rx[k] - mean) * (ry[k] - mean);
        sxx += (rx[k] - mean) * (rx[k] - mean);
    }
    return sxy / sxx;
}

} // namespace probex::test
