#include "variables/DistributionFunctions.h"

#include "variables/Distributions.h"

#include "support/Records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace probex {
namespace {

using test::CheckedRecord;

// Bins 0, 1, 2 with counts 1, 3, 2: the urn sorted by bin, as BuildHistogram leaves it.
TIis histogram(DistKind kind, Extended min, Extended max) {
    TIis iis;
    iis.Kind = kind;
    iis.Min = iis.Loc = min;
    iis.Max = max;
    iis.Bins = 3;
    iis.Scale = (max - min) / (kind == DistKind::dkDiscrete ? 2 : 3);
    iis.Urn = {0, 1, 1, 1, 2, 2};
    iis.UrnSize = 6;
    return iis;
}

TEST(DistributionFunctionsTest, QuantileThenCdfReturnsTheProbability) {
    const std::vector<TIis> records = {
        CheckedRecord(DistKind::dkExponential, 0, 20, 1, 1),
        CheckedRecord(DistKind::dkLognormal, 0, 1000, 1, 1),
        CheckedRecord(DistKind::dkNormal, -3, 3, 0, 1),
        CheckedRecord(DistKind::dkUniform, 2, 5, 0, 0),
        // Almost no mass between Min and Max, on either side of the mean.
        CheckedRecord(DistKind::dkNormal, 30, 31, 0, 1),
        CheckedRecord(DistKind::dkNormal, -31, -30, 0, 1),
        CheckedRecord(DistKind::dkExponential, 5000, 5001, 1, 1),
        histogram(DistKind::dkContinuous, 0, 3),
    };
    for (const TIis& iis : records) {
        for (Extended p : {1e-15L, 1e-6L, 0.01L, 0.3L, 0.5L, 0.9L, 0.999999L}) {
            SCOPED_TRACE(testing::Message() << static_cast<int>(iis.Kind) << " " << iis.Min
                                            << " p=" << static_cast<double>(p));
            const Extended x = TruncatedQuantile(iis, p);
            EXPECT_GE(x, iis.Min);
            EXPECT_LE(x, iis.Max);
            // The spacing of x itself limits how closely F(x) can meet p: one step either side.
            const Extended resolution = TruncatedCdf(iis, std::nextafter(x, iis.Max)) -
                                        TruncatedCdf(iis, std::nextafter(x, iis.Min));
            EXPECT_NEAR(TruncatedCdf(iis, x), p, 1e-14L * p + resolution);
        }
        EXPECT_EQ(TruncatedCdf(iis, iis.Min), 0);
        EXPECT_EQ(TruncatedCdf(iis, iis.Max), 1);
    }
}

TEST(DistributionFunctionsTest, KnownQuantiles) {
    const Extended ln2 = std::numbers::ln2_v<Extended>;
    struct Case {
        TIis iis;
        Extended p, expected, tolerance;
    };
    const std::vector<Case> cases = {
        {CheckedRecord(DistKind::dkNormal, -40, 40, 10, 2), 0.975L, 10 + 2 * 1.959963984540054235L,
         1e-16L},
        {CheckedRecord(DistKind::dkExponential, 0, 1e6, 1, 1), 0.5L, ln2, 1e-17L},
        {CheckedRecord(DistKind::dkExponential, 1, 1e6, 1, 1), 0.5L, 1 + ln2, 1e-17L},
        {CheckedRecord(DistKind::dkLognormal, 0, 1e9, 1, 1), 0.5L, 1 / std::sqrt(2.0L), 1e-17L},
        {CheckedRecord(DistKind::dkUniform, 2, 5, 0, 0), 0.25L, 2.75L, 1e-17L},
        // Far in a normal tail the truncated law is nearly exponential with rate Min.
        {CheckedRecord(DistKind::dkNormal, 30, 31, 0, 1), 0.5L, 30 + ln2 / 30, 1e-4L},
        {CheckedRecord(DistKind::dkNormal, -31, -30, 0, 1), 0.5L, -30 - ln2 / 30, 1e-4L},
        // An exponential truncated anywhere is the same exponential from Min on.
        {CheckedRecord(DistKind::dkExponential, 5000, 5001, 1, 1), 0.5L,
         5000 - std::log1p(-0.5L * -std::expm1(-1.0L)), 1e-14L},
        {histogram(DistKind::dkDiscrete, 10, 12), 0.1L, 10, 0},
        {histogram(DistKind::dkDiscrete, 10, 12), 0.17L, 11, 0},
        {histogram(DistKind::dkDiscrete, 10, 12), 0.66L, 11, 0},
        {histogram(DistKind::dkDiscrete, 10, 12), 0.67L, 12, 0},
        {histogram(DistKind::dkContinuous, 0, 3), 1.0L / 12, 0.5L, 1e-18L},
        {histogram(DistKind::dkContinuous, 0, 3), 0.5L, 5.0L / 3, 1e-18L},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.iis.Kind) << " " << c.iis.Min
                                        << " p=" << static_cast<double>(c.p));
        EXPECT_NEAR(TruncatedQuantile(c.iis, c.p), c.expected, c.tolerance);
    }
}

TEST(DistributionFunctionsTest, DiscreteHistogramSteps) {
    const TIis iis = histogram(DistKind::dkDiscrete, 10, 12);
    EXPECT_EQ(TruncatedCdf(iis, 9.99L), 0);
    EXPECT_NEAR(TruncatedCdf(iis, 10), 1.0L / 6, 1e-18L);
    EXPECT_NEAR(TruncatedCdf(iis, 10.99L), 1.0L / 6, 1e-18L);
    EXPECT_NEAR(TruncatedCdf(iis, 11), 4.0L / 6, 1e-18L);
    EXPECT_EQ(TruncatedCdf(iis, 12), 1);
    const TIis continuous = histogram(DistKind::dkContinuous, 0, 3);
    EXPECT_NEAR(TruncatedCdf(continuous, 1.5L), 2.5L / 6, 1e-18L);
}

TEST(DistributionFunctionsTest, ServedKinds) {
    for (DistKind kind : {DistKind::dkUndefined, DistKind::dkConstant, DistKind::dkStepNumber})
        EXPECT_FALSE(HasDistributionFunction(kind));
    for (DistKind kind : {DistKind::dkDiscrete, DistKind::dkContinuous, DistKind::dkExponential,
                          DistKind::dkLognormal, DistKind::dkNormal, DistKind::dkUniform})
        EXPECT_TRUE(HasDistributionFunction(kind));
}

} // namespace
} // namespace probex
