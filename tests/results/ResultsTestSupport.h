#pragma once

#include "simulation/HisCompute.h"
#include "simulation/OutHis.h"
#include "simulation/OutLog.h"
#include "simulation/OutStat.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace probex::test {

/// The accumulators of one variable fed with the given values, nothing computed yet.
/// With values 1, 2, 2, 3, 5 and 4 bins the histogram ends over [1, 5] with counts 3, 1, 0, 1.
struct Accumulators {
    TOutStat stat;
    TOutHis his;
    TOutLog log;

    explicit Accumulators(std::initializer_list<Extended> values, int bins = 4) {
        EXPECT_TRUE(HisAllocate(his, bins));
        EXPECT_TRUE(log.allocate(static_cast<std::int32_t>(values.size())));
        std::int32_t slot = 0;
        for (const Extended x : values) {
            StatAdd(stat, x);
            HisAdd(his, x);
            log.store(slot++, x);
        }
        // Marks: the quantile of 0.5, the probability of 3, the quantile of 0.9, the
        // probability of 2.
        HisLoadMarks(his, {0.5L, 3, 0.9L, 2}, {false, true, false, true}, false);
    }

    void compute() {
        StatCompute(stat, 2);
        HisCompute(his, 3, true);
    }
};

} // namespace probex::test
