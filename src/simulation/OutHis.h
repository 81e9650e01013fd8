#pragma once

#include "engine/Extended.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace probex {

class TOutLog;
struct TOutStat;

/// Result histogram of one output variable: a fixed number of equal bins over a range that
/// widens by doubling as values arrive.
struct TOutHis {
    Extended histMin = 0; ///< lower end of the occupied bins
    Extended histMax = 0; ///< upper end of the occupied bins
    Extended rangeMin = 0;
    Extended rangeMax = 0;
    Extended rangeWidth = 0;
    Extended binWidth = 0;
    std::int32_t total = 0;
    std::int32_t firstBin = 0;
    std::int32_t lastBin = 0;
    Extended mean = 0;
    Extended stdev = 0;
    Extended variance = 0;
    Extended covar = 0;
    Extended median = 0;
    Extended skew = 0;
    Extended kurt = -3;
    bool covarValid = false;
    std::array<Extended, 4> markValues{};
    std::array<Extended, 4> markResults{};
    std::array<bool, 4> markKinds{}; ///< true: the value is a Q whose probability is wanted
    bool discrete = false;
    bool rangeSet = false;
    bool recalculated = false;
    std::uint8_t level = 0; ///< 0 stale, 1, 2, 3
    std::int32_t binCount = 0;
    std::vector<std::int32_t> counts;
};

/// Gives the histogram `binCount` bins (2..65536), all empty. False when the memory cannot be
/// had or the size is out of range; the histogram then has no bins.
[[nodiscard]] bool HisAllocate(TOutHis& his, std::int32_t binCount) noexcept;

/// Every count and field 0 except kurt, which is -3; the bins stay allocated.
void HisReset(TOutHis& his);

/// Copies an output table row's four marks and its "Discrete" cell.
void HisLoadMarks(TOutHis& his, const std::array<Extended, 4>& markValues,
                  const std::array<bool, 4>& markKinds, bool discrete);

/// Gives the histogram the range [min, max] without adding a value; nothing happens unless
/// max > min.
void HisSetRange(TOutHis& his, Extended max, Extended min);

/// Rebuilds the histogram over [stat.min, stat.max] from the first `stepCount` log values
/// (when min < max), then computes it to level 3 with marks. The histogram's marks and
/// discrete flag are kept; load them with HisLoadMarks first when the row may have changed.
void HisRecalculate(TOutHis& his, const TOutStat& stat, const TOutLog& log, std::int32_t stepCount);

/// The rare part of HisAdd: values before the range is set, and values outside it, which
/// widen the range by doubling until it holds them.
bool HisAddOutside(TOutHis& his, Extended x);

/// Counts a value that lies inside the set range.
inline void HisCountInRange(TOutHis& his, Extended x) {
    const Extended u = (x - his.rangeMin) / his.binWidth;
    // A value equal to range max belongs to the top bin.
    const std::int32_t k = u < his.binCount ? TruncateToInt32(u) : his.binCount - 1;
    ++his.counts[static_cast<std::size_t>(k)];
}

/// Counts one step's value; returns whether the histogram has a range. On the per-step path:
/// outside the rare widening it is one division and one increment.
inline bool HisAdd(TOutHis& his, Extended x) {
    his.level = 0;
    his.recalculated = false;
    if (!his.rangeSet || x < his.rangeMin || x > his.rangeMax) [[unlikely]]
        return HisAddOutside(his, x);
    HisCountInRange(his, x);
    return true;
}

/// Counts several steps' values in their order, as HisAdd one by one does; while they all lie
/// inside the range, the range and the bin width stay in registers between them.
inline void HisAddValues(TOutHis& his, const Extended* values, int count) {
    bool inside = his.rangeSet;
    for (int i = 0; i < count; ++i)
        inside &= !(values[i] < his.rangeMin || values[i] > his.rangeMax);
    if (!inside) {
        for (int i = 0; i < count; ++i)
            HisAdd(his, values[i]);
        return;
    }
    his.level = 0;
    his.recalculated = false;
    const Extended rangeMin = his.rangeMin, binWidth = his.binWidth;
    const std::int32_t bins = his.binCount;
    std::int32_t* counts = his.counts.data();
    for (int i = 0; i < count; ++i) {
        const Extended u = (values[i] - rangeMin) / binWidth;
        ++counts[u < bins ? TruncateToInt32(u) : bins - 1];
    }
}

/// A histogram's range, for finding the bins of values apart from adding them.
struct THisRange {
    Extended min = 0;
    Extended max = 0;
    Extended binWidth = 0;
    std::int32_t binCount = 0;
    bool set = false;
    bool operator==(const THisRange&) const = default;
};

inline THisRange HisRangeOf(const TOutHis& his) {
    return {his.rangeMin, his.rangeMax, his.binWidth, his.binCount, his.rangeSet};
}

/// The bins that HisAddValues would count the values in while the histogram has `range`.
/// False when the range is not set or a value lies outside it (the bins are then partly
/// written): such values widen the range and must be added in order.
inline bool HisBins(const THisRange& range, const Extended* values, int count, std::int32_t* bins) {
    if (!range.set) return false;
    bool inside = true;
    for (int i = 0; i < count; ++i)
        inside &= !(values[i] < range.min || values[i] > range.max);
    if (!inside) return false;
    for (int i = 0; i < count; ++i) {
        const Extended u = (values[i] - range.min) / range.binWidth;
        bins[i] = u < range.binCount ? TruncateToInt32(u) : range.binCount - 1;
    }
    return true;
}

/// Counts values whose bins HisBins found with the histogram's present range: what
/// HisAddValues does with the values.
inline void HisAddBins(TOutHis& his, const std::int32_t* bins, int count) {
    his.level = 0;
    his.recalculated = false;
    std::int32_t* counts = his.counts.data();
    for (int i = 0; i < count; ++i)
        ++counts[bins[i]];
}

} // namespace probex
