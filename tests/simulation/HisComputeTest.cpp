#include "simulation/HisCompute.h"

#include "simulation/OutHis.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>
#include <vector>

namespace probex {
namespace {

TOutHis MakeHis(std::vector<std::int32_t> counts, Extended min, Extended max, bool discrete) {
    TOutHis his;
    EXPECT_TRUE(HisAllocate(his, static_cast<std::int32_t>(counts.size())));
    HisReset(his);
    HisSetRange(his, max, min);
    his.counts = std::move(counts);
    his.discrete = discrete;
    return his;
}

enum class Ask { Quantile, Probability };

struct AskCase {
    bool discrete;
    Ask ask;
    Extended argument;
    Extended expected;
};

TEST(HisCompute, QuantilesAndProbabilitiesOfFourEqualBins) {
    const AskCase cases[] = {
        {false, Ask::Quantile, 0.5L, 2},
        {false, Ask::Quantile, 0.6L, 2.4L},
        {false, Ask::Quantile, 0, 0},
        {false, Ask::Quantile, 1, 4},
        {false, Ask::Probability, 2.5L, 0.625L},
        {false, Ask::Probability, 0, 0},
        {false, Ask::Probability, 4, 1},
        {true, Ask::Quantile, 0.5L, 4.0L / 3},
        {true, Ask::Quantile, 0, 0},
        {true, Ask::Quantile, 1, 4},
        {true, Ask::Probability, 2, 0.5L},
        {true, Ask::Probability, 4 - 1e-9L, 0.75L},
        {true, Ask::Probability, 0, 0},
        {true, Ask::Probability, 4, 1},
    };
    for (const AskCase& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.discrete ? "discrete " : "continuous ")
                                        << (c.ask == Ask::Quantile ? "quantile " : "probability ")
                                        << static_cast<double>(c.argument));
        TOutHis his = MakeHis({1, 1, 1, 1}, 0, 4, c.discrete);
        const Extended result =
            c.ask == Ask::Quantile ? HisQuantile(his, c.argument) : HisProbability(his, c.argument);
        EXPECT_NEAR(result, c.expected, 1e-18L);
        EXPECT_EQ(his.histMin, 0);
        EXPECT_EQ(his.histMax, 4);
        EXPECT_EQ(his.total, 4);
    }
}

TEST(HisCompute, StatisticsAndMarks) {
    TOutHis his = MakeHis({1, 1, 1, 1}, 0, 4, false);
    HisLoadMarks(his, {0.25L, 2.5L, 2, 0.75L}, {false, true, false, true}, false);
    HisCompute(his, 3, true);
    EXPECT_EQ(his.level, 3);
    EXPECT_EQ(his.median, 2);
    EXPECT_EQ(his.mean, 2);
    EXPECT_EQ(his.variance, 1.25L);
    EXPECT_NEAR(his.skew, 0, 1e-18L);
    EXPECT_NEAR(his.kurt,
                (1.5L * 1.5L * 1.5L * 1.5L + 0.5L * 0.5L * 0.5L * 0.5L) / 2 / (1.25L * 1.25L) - 3,
                1e-17L);
    // Kinds: quantile of 0.25, probability of 2.5, quantile of P >= 1, probability of 0.75.
    EXPECT_EQ(his.markResults[0], 1);
    EXPECT_EQ(his.markResults[1], 0.625L);
    EXPECT_EQ(his.markResults[2], 4);
    EXPECT_EQ(his.markResults[3], 0.1875L);
}

TEST(HisCompute, EmptyBinsAreWalkedThrough) {
    TOutHis his = MakeHis({1, 0, 0, 1}, 0, 4, false);
    EXPECT_EQ(HisQuantile(his, 0.5L), 1);
    EXPECT_EQ(HisQuantile(his, 0.75L), 3.5L);
    EXPECT_EQ(HisProbability(his, 2), 0.5L);
}

TEST(HisCompute, CopiesOfOneValueAndEmpty) {
    for (bool discrete : {false, true}) {
        SCOPED_TRACE(discrete);
        TOutHis his;
        ASSERT_TRUE(HisAllocate(his, 8));
        HisReset(his);
        HisLoadMarks(his, {0.5L, 7, 0.1L, 6}, {false, true, false, true}, discrete);
        for (int i = 0; i < 3; ++i)
            HisAdd(his, 7);
        // A constant answers its value as every quantile, 1 at or above it and 0 below.
        for (Extended p : {0.0L, 0.3L, 0.5L, 1.0L})
            EXPECT_EQ(HisQuantile(his, p), 7);
        EXPECT_EQ(HisProbability(his, 6.5L), 0);
        EXPECT_EQ(HisProbability(his, 7), 1);
        EXPECT_EQ(HisProbability(his, 7.5L), 1);
        HisCompute(his, 3, true);
        EXPECT_EQ(his.total, 3);
        EXPECT_EQ(his.mean, 7);
        EXPECT_EQ(his.median, 7);
        EXPECT_EQ(his.stdev, 0);
        EXPECT_EQ(his.skew, 0);
        EXPECT_EQ(his.kurt, -3);
        EXPECT_EQ(his.markResults, (std::array<Extended, 4>{7, 1, 7, 0}));
        EXPECT_TRUE(HisCurve(his, HisCurveKind::Histogram).points.empty());

        TOutHis empty;
        ASSERT_TRUE(HisAllocate(empty, 8));
        HisReset(empty);
        empty.discrete = discrete;
        EXPECT_EQ(HisQuantile(empty, 0.5L), 0);
        EXPECT_EQ(HisProbability(empty, -1), 0);
        HisCompute(empty, 3, true);
        EXPECT_EQ(empty.total, 0);
        EXPECT_FALSE(std::isnan(empty.mean) || std::isnan(empty.median) || std::isnan(empty.kurt));
    }
}

TEST(HisCompute, NoSpreadGivesZeroMoments) {
    // One occupied discrete bin: variance 0 must not turn skew and kurt into 0/0. Three counts
    // near 3e10: the true variance is 0, the raw difference of the sums comes out as -64.
    struct Case {
        TOutHis his;
        std::optional<Extended> mean;
    };
    const Case cases[] = {{MakeHis({0, 5, 0, 0}, 0, 3, true), 1},
                          {MakeHis({3, 0, 0, 0, 0, 0, 0, 0}, 3e10L, 3e10L + 1, false), {}}};
    for (Case c : cases) {
        HisCompute(c.his, 3, false);
        EXPECT_EQ(c.his.mean, c.mean.value_or(c.his.mean));
        EXPECT_EQ(c.his.variance, 0);
        EXPECT_EQ(c.his.stdev, 0);
        EXPECT_EQ(c.his.skew, 0);
        EXPECT_EQ(c.his.kurt, -3);
    }
}

TEST(HisCompute, Curves) {
    struct CurveCase {
        HisCurveKind kind;
        std::vector<HisCurvePoint> points;
        std::array<Extended, 4> bounds; ///< x min, x max, y min, y max
        bool verticalMarks;
    };
    using K = HisCurveKind;
    const Extended a = 4.0L / 3, b = 8.0L / 3;
    const CurveCase cases[] = {
        {K::Histogram, {{0, 1}, {a, 0}, {b, 2}, {4, 1}}, {0, 4, 0, 2}, true},
        {K::Distribution, {{0, 0.25L}, {a, 0.25L}, {b, 0.75L}, {4, 1}}, {0, 4, 0, 1}, true},
        {K::Quantile, {{0.25L, 0}, {0.25L, a}, {0.75L, b}, {1, 4}}, {0, 1, 0, 4}, false},
    };
    for (const CurveCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        TOutHis his = MakeHis({1, 0, 2, 1}, 0, 4, false);
        const HisCurvePoints curve = HisCurve(his, c.kind);
        ASSERT_EQ(curve.points.size(), c.points.size());
        for (std::size_t i = 0; i < c.points.size(); ++i) {
            EXPECT_NEAR(curve.points[i].x, c.points[i].x, 1e-18L);
            EXPECT_NEAR(curve.points[i].y, c.points[i].y, 1e-18L);
        }
        EXPECT_EQ((std::array<Extended, 4>{curve.xMin, curve.xMax, curve.yMin, curve.yMax}),
                  c.bounds);
        EXPECT_EQ(curve.verticalMarks, c.verticalMarks);
    }
    // One occupied bin stands midway between hist min and hist max.
    TOutHis one = MakeHis({0, 3, 0, 0}, 0, 4, false);
    const HisCurvePoints curve = HisCurve(one, HisCurveKind::Distribution);
    ASSERT_EQ(curve.points.size(), 1u);
    EXPECT_EQ(curve.points[0].x, 1.5L);
    EXPECT_EQ(curve.points[0].y, 1);
}

} // namespace
} // namespace probex
