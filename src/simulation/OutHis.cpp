#include "simulation/OutHis.h"

#include "simulation/HisCompute.h"
#include "simulation/OutLog.h"
#include "simulation/OutStat.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>

namespace probex {

namespace {

void UpdateWidths(TOutHis& his) {
    his.rangeWidth = his.rangeMax - his.rangeMin;
    his.binWidth = his.rangeWidth / his.binCount;
}

// The end moved outwards by the width. A range a few floating-point steps wide can round
// back onto its end; it then moves one step at least, so every widening makes progress.
Extended Widened(Extended end, Extended width, Extended outwards) {
    const Extended moved = outwards > end ? end + width : end - width;
    return moved == end ? std::nextafter(end, outwards) : moved;
}

// Doubles the range downwards, keeping range max. Each new bin takes the two old bins it
// covers exactly. With an even size those are bins 2j and 2j+1; with an odd size the new
// edges fall on odd old edges, so new bin h+j covers old bins 2j-1 and 2j and old bin 0
// alone goes to bin h.
void ExtendDown(TOutHis& his) {
    std::int32_t* c = his.counts.data();
    const std::int32_t n = his.binCount;
    const std::int32_t h = n / 2;
    if (n % 2 == 0) {
        for (std::int32_t j = h - 1; j >= 0; --j)
            c[h + j] = c[2 * j] + c[2 * j + 1];
    } else {
        for (std::int32_t j = h; j >= 1; --j)
            c[h + j] = c[2 * j - 1] + c[2 * j];
        c[h] = c[0];
    }
    std::fill(c, c + h, 0);
    his.rangeMin = Widened(his.rangeMin, his.rangeWidth, -HUGE_VALL);
    UpdateWidths(his);
}

// Doubles the range upwards, keeping range min. With an odd size the unpaired top bin moves
// whole into bin h, which covers it exactly; clearing it instead would lose its counts.
void ExtendUp(TOutHis& his) {
    std::int32_t* c = his.counts.data();
    const std::int32_t n = his.binCount;
    const std::int32_t h = n / 2;
    for (std::int32_t j = 0; j < h; ++j)
        c[j] = c[2 * j] + c[2 * j + 1];
    std::int32_t cleared = h;
    if (n % 2 != 0) {
        c[h] = c[n - 1];
        cleared = h + 1;
    }
    std::fill(c + cleared, c + n, 0);
    his.rangeMax = Widened(his.rangeMax, his.rangeWidth, HUGE_VALL);
    UpdateWidths(his);
}

} // namespace

bool HisAllocate(TOutHis& his, std::int32_t binCount) noexcept {
    his.counts.clear();
    his.binCount = 0;
    if (binCount < 2 || binCount > 65536) return false;
    try {
        his.counts.assign(static_cast<std::size_t>(binCount), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    his.binCount = binCount;
    return true;
}

void HisReset(TOutHis& his) {
    std::vector<std::int32_t> counts = std::move(his.counts);
    const std::int32_t binCount = his.binCount;
    his = TOutHis{};
    std::fill(counts.begin(), counts.end(), 0);
    his.counts = std::move(counts);
    his.binCount = binCount;
}

void HisLoadMarks(TOutHis& his, const std::array<Extended, 4>& markValues,
                  const std::array<bool, 4>& markKinds, bool discrete) {
    his.markValues = markValues;
    his.markKinds = markKinds;
    his.discrete = discrete;
}

void HisSetRange(TOutHis& his, Extended max, Extended min) {
    if (!(max > min)) return;
    his.rangeMin = min;
    his.rangeMax = max;
    UpdateWidths(his);
    his.rangeSet = true;
}

bool HisAddOutside(TOutHis& his, Extended x) {
    std::int32_t* c = his.counts.data();
    if (!his.rangeSet) {
        // Until a second distinct value arrives the histogram only counts copies of the
        // first one, kept in bin 0 with range min holding the value.
        if (c[0] == 0) {
            his.rangeMin = x;
            c[0] = 1;
            return false;
        }
        if (x == his.rangeMin) {
            ++c[0];
            return false;
        }
        c[his.binCount - 1] = 1;
        if (x < his.rangeMin) {
            his.rangeMax = his.rangeMin;
            his.rangeMin = x;
            std::swap(c[0], c[his.binCount - 1]);
        } else {
            his.rangeMax = x;
        }
        UpdateWidths(his);
        his.rangeSet = true;
        return true;
    }
    while (his.rangeMin > x)
        ExtendDown(his);
    while (his.rangeMax < x)
        ExtendUp(his);
    HisCountInRange(his, x);
    return true;
}

void HisRecalculate(TOutHis& his, const TOutStat& stat, const TOutLog& log,
                    std::int32_t stepCount) {
    if (stat.started && stat.min < stat.max) {
        const std::array<Extended, 4> markValues = his.markValues;
        const std::array<bool, 4> markKinds = his.markKinds;
        const bool discrete = his.discrete;
        HisReset(his);
        HisLoadMarks(his, markValues, markKinds, discrete);
        HisSetRange(his, stat.max, stat.min);
        const std::int32_t count = std::clamp(stepCount, 0, log.size());
        for (std::int32_t s = 0; s < count; ++s)
            HisAdd(his, log[s]);
    }
    HisCompute(his, 3, true);
    his.recalculated = true;
}

} // namespace probex
