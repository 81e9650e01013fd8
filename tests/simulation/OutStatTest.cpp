#include "simulation/OutStat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace probex {
namespace {

struct StatCase {
    const char* name;
    std::vector<Extended> values;
    Extended mean, variance, skew, kurt;
    bool covarValid;
};

TEST(OutStat, MomentsOfSmallSamples) {
    const StatCase cases[] = {
        {"nothing added", {}, 0, 0, 0, -3, false},
        {"one constant value", {5, 5, 5}, 5, 0, 0, -3, false},
        {"one to four", {1, 2, 3, 4}, 2.5L, 1.25L, 0, -1.36L, true},
        {"mean 0 with spread", {-1, 1}, 0, 1, 0, -2, false},
        {"skewed", {0, 0, 0, 3}, 0.75L, 1.6875L, 2 / std::sqrt(3.0L), -2.0L / 3, true},
    };
    for (const StatCase& c : cases) {
        SCOPED_TRACE(c.name);
        TOutStat stat;
        StatReset(stat);
        for (Extended x : c.values)
            StatAdd(stat, x);
        StatCompute(stat, 2);
        EXPECT_EQ(stat.count, static_cast<std::int32_t>(c.values.size()));
        EXPECT_EQ(stat.started, !c.values.empty());
        EXPECT_EQ(stat.level, 2);
        const Extended tol = 1e-15L;
        EXPECT_NEAR(stat.mean, c.mean, tol);
        EXPECT_NEAR(stat.variance, c.variance, tol);
        EXPECT_NEAR(stat.stdev, std::sqrt(c.variance), tol);
        EXPECT_NEAR(stat.skew, c.skew, tol);
        EXPECT_NEAR(stat.kurt, c.kurt, tol);
        EXPECT_EQ(stat.covarValid, c.covarValid);
        if (c.covarValid)
            EXPECT_NEAR(stat.covar, stat.stdev / stat.mean, tol);
        else
            EXPECT_EQ(stat.covar, 0);
    }
}

TEST(OutStat, MinMaxAndStaleLevel) {
    TOutStat stat;
    StatReset(stat);
    for (Extended x : {3.0L, -7.5L, 12.25L, 0.0L})
        StatAdd(stat, x);
    EXPECT_EQ(stat.min, -7.5L);
    EXPECT_EQ(stat.max, 12.25L);
    EXPECT_EQ(stat.s1, 7.75L);
    StatCompute(stat, 2);
    StatAdd(stat, 1);
    EXPECT_EQ(stat.level, 0);
}

TEST(OutStat, VarianceLostToRoundingIsZero) {
    // The true variance is 0.24, far below what the sums of squares near 10^20 can resolve;
    // the raw difference comes out as -8.
    TOutStat stat;
    StatReset(stat);
    for (Extended x : {1e10L, 1e10L + 1, 1e10L, 1e10L + 1, 1e10L})
        StatAdd(stat, x);
    StatCompute(stat, 2);
    EXPECT_EQ(stat.variance, 0);
    EXPECT_EQ(stat.stdev, 0);
    EXPECT_EQ(stat.skew, 0);
    EXPECT_EQ(stat.kurt, -3);
    EXPECT_TRUE(stat.covarValid);
    EXPECT_EQ(stat.covar, 0);
}

} // namespace
} // namespace probex
