#pragma once

#include "engine/Extended.h"

#include <cstdint>

namespace probex {

/// Running statistics of one output variable: raw power sums are kept per step, the moments
/// are computed from them on demand.
struct TOutStat {
    Extended min = 0;
    Extended max = 0;
    std::int32_t count = 0;
    Extended mean = 0;     ///< level 1
    Extended stdev = 0;    ///< level 1
    Extended variance = 0; ///< level 1
    Extended covar = 0;    ///< level 1: stdev / mean
    Extended skew = 0;     ///< level 2
    Extended kurt = -3;    ///< level 2: excess kurtosis
    bool covarValid = false;
    Extended s1 = 0;
    Extended s2 = 0;
    Extended s3 = 0;
    Extended s4 = 0;
    bool started = false;
    std::uint8_t level = 0; ///< 0 stale, 1, 2
};

/// Every field 0 except kurt, which is -3.
void StatReset(TOutStat& stat);

/// Adds one step's value. On the per-step path: no allocation, no division.
inline void StatAdd(TOutStat& stat, Extended x) {
    stat.level = 0;
    if (!stat.started) [[unlikely]] {
        stat.min = x;
        stat.max = x;
        stat.started = true;
    }
    const Extended x2 = x * x;
    ++stat.count;
    stat.s1 += x;
    stat.s2 += x2;
    stat.s3 += x2 * x;
    stat.s4 += x2 * x2;
    if (x < stat.min) stat.min = x;
    if (x > stat.max) stat.max = x;
}

/// Adds several steps' values that lie within the extremes already seen: the sums and the
/// count, as StatAdd one by one gives bit for bit, with the sums kept in registers.
inline void StatAddSums(TOutStat& stat, const Extended* values, int count) {
    if (count <= 0) return;
    stat.level = 0;
    Extended s1 = stat.s1, s2 = stat.s2, s3 = stat.s3, s4 = stat.s4;
    for (int i = 0; i < count; ++i) {
        const Extended x = values[i];
        const Extended x2 = x * x;
        s1 += x;
        s2 += x2;
        s3 += x2 * x;
        s4 += x2 * x2;
    }
    stat.count += count;
    stat.s1 = s1, stat.s2 = s2, stat.s3 = s3, stat.s4 = s4;
}

/// The least and the greatest of count > 0 values as StatAdd finds them: the first of equals.
inline void StatExtremes(const Extended* values, int count, Extended& min, Extended& max) {
    min = max = values[0];
    for (int i = 1; i < count; ++i) {
        const Extended x = values[i];
        if (x < min) min = x;
        if (x > max) max = x;
    }
}

/// Adds several steps' values in their order, as StatAdd one by one gives bit for bit. The
/// sums and the extremes take a pass each: the eight x87 registers cannot hold all six with
/// the value, and sums spilled to memory at every value made the loop several times slower.
inline void StatAddValues(TOutStat& stat, const Extended* values, int count) {
    if (count <= 0) return;
    StatAdd(stat, values[0]);
    if (count == 1) return;
    StatAddSums(stat, values + 1, count - 1);
    Extended min, max;
    StatExtremes(values + 1, count - 1, min, max);
    if (min < stat.min) stat.min = min;
    if (max > stat.max) stat.max = max;
}

/// Computes the moments up to `level` (0: min and max only, 1: mean, variance, stdev, covar,
/// 2: also skew and kurt) and stores the level.
void StatCompute(TOutStat& stat, int level);

} // namespace probex
