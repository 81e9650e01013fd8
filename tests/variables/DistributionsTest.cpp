#include "variables/Distributions.h"

#include "engine/ExtendedMath.h"

#include "variables/Random.h"

#include "support/Records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

namespace probex {
namespace {

constexpr Extended tight = 1e-17L;

using test::MakeRecord;

TEST(DistributionsTest, DefaultsAreCheckedValues) {
    const Extended ln2 = std::numbers::ln2_v<Extended>;
    struct Case {
        DistKind kind;
        Extended loc, scale, median, variance, skew, kurt;
        TStatShown shown;
    };
    const std::vector<Case> cases = {
        {DistKind::dkExponential, 0, 1, ln2, 1, 2, 6, {1, 1, 1, 1, 1, 1, 1}},
        {DistKind::dkLognormal,
         -0.5L * ln2,
         std::sqrt(ln2),
         1 / std::sqrt(2.0L),
         1,
         4,
         38,
         {1, 1, 1, 1, 1, 1, 1}},
        {DistKind::dkNormal, 0, 1, 0, 1, 0, 0, {1, 1, 1, 0, 1, 1, 1}},
        {DistKind::dkUniform, 0, 1, 0.5L, 1.0L / 12, 0, 0, {1, 1, 1, 1, 1, 1, 0}},
        {DistKind::dkDiscrete, 0, 0, 0, 0, 0, 0, {1, 1, 1, 0, 1, 0, 0}},
        {DistKind::dkConstant, 0, 1, 0, 0, 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        TIis iis = MakeRecord(c.kind, 7, 8, 9, 10);
        iis.ConstCaption = "Pi";
        iis.Loc = iis.Scale = iis.Median = iis.Variance = iis.Skew = iis.Kurt = 5;
        SetDefaultParameters(iis);
        EXPECT_NEAR(iis.Loc, c.loc, tight);
        EXPECT_NEAR(iis.Scale, c.scale, tight);
        EXPECT_NEAR(iis.Median, c.median, tight);
        EXPECT_NEAR(iis.Variance, c.variance, tight);
        EXPECT_EQ(iis.Skew, c.skew);
        EXPECT_EQ(iis.Kurt, c.kurt);
        EXPECT_EQ(iis.StatShown, c.shown);
        if (c.kind == DistKind::dkConstant) {
            EXPECT_TRUE(iis.ConstCaption.empty());
        }
        TIis checked = iis;
        EXPECT_EQ(CheckParameters(checked),
                  c.kind == DistKind::dkDiscrete ? "Must be Min<Max!" : "");
        if (c.kind != DistKind::dkDiscrete) {
            EXPECT_EQ(checked.Median, iis.Median);
        }
    }
}

TEST(DistributionsTest, CheckMessages) {
    struct Case {
        TIis iis;
        std::string message;
    };
    const Extended inf = HUGE_VALL;
    const std::string farApart = "Parameters too far apart: derived values are not finite numbers!";
    auto bins = [](DistKind kind, Extended min, Extended max, std::int32_t count) {
        TIis iis = MakeRecord(kind, min, max, 0, 0);
        iis.Bins = count;
        return iis;
    };
    const std::vector<Case> cases = {
        {MakeRecord(DistKind::dkExponential, 1, 1, 1, 1), "Must be Min<Max!"},
        {MakeRecord(DistKind::dkExponential, 0, 1, 3, 1), "Must be Max>Mean-StDev!"},
        {MakeRecord(DistKind::dkExponential, 0, 9, 3, 0), "Must be StDev>0!"},
        {MakeRecord(DistKind::dkLognormal, 0, 9, 1, 0), "Must be StDev>0!"},
        {MakeRecord(DistKind::dkLognormal, 0, 9, 0, 1), "Must be Mean>0!"},
        {MakeRecord(DistKind::dkNormal, 0, 9, 1, 0), "Must be StDev>0!"},
        {MakeRecord(DistKind::dkNormal, 0, 9, NAN, 1), "Parameters must be finite numbers!"},
        {MakeRecord(DistKind::dkUniform, -inf, 0, 0, 0), "Parameters must be finite numbers!"},
        {MakeRecord(DistKind::dkUniform, 5, 6, NAN, NAN), ""},
        {MakeRecord(DistKind::dkUniform, -1e4932L, 1e4932L, 0, 0), farApart},
        {MakeRecord(DistKind::dkNormal, 0, 1, 0, 1e4000L), farApart},
        {MakeRecord(DistKind::dkExponential, 0, 1, -1e4932L, 1e4932L), farApart},
        {bins(DistKind::dkContinuous, -1e4932L, 1e4932L, 4), farApart},
        {bins(DistKind::dkDiscrete, 1, 1, 3), "Must be Min<Max!"},
        {bins(DistKind::dkDiscrete, 1, 2, 1), "Must be Bins>=2!"},
        {bins(DistKind::dkContinuous, 1, 2, 0), "Must be Bins>=1!"},
        {MakeRecord(DistKind::dkStepNumber, 5, 1, 0, 0), ""},
        {MakeRecord(DistKind::dkUndefined, 5, 1, 0, 0), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        TIis iis = c.iis;
        iis.Loc = 123;
        EXPECT_EQ(CheckParameters(iis), c.message);
        if (!c.message.empty()) {
            EXPECT_EQ(iis.Loc, 123) << "a failed check changes nothing";
        }
    }
}

TEST(DistributionsTest, DerivedValues) {
    TIis uniform = MakeRecord(DistKind::dkUniform, 2, 4, 0, 0);
    ASSERT_EQ(CheckParameters(uniform), "");
    EXPECT_EQ(uniform.Mean, 3);
    EXPECT_NEAR(uniform.Variance, 1.0L / 3, tight);
    EXPECT_NEAR(uniform.StDev, 0.57735026918962576L, tight);
    EXPECT_NEAR(uniform.CoVar, 0.19245008972987525L, tight);
    EXPECT_EQ(uniform.Loc, 2);
    EXPECT_EQ(uniform.Scale, 2);

    TIis exponential = MakeRecord(DistKind::dkExponential, 0, 20, 10, 2);
    ASSERT_EQ(CheckParameters(exponential), "");
    EXPECT_EQ(exponential.Loc, 8);
    EXPECT_EQ(exponential.Scale, 2);
    EXPECT_NEAR(exponential.Median, 9.3862943611198906L, tight);
    EXPECT_NEAR(exponential.CoVar, 0.2L, tight);

    TIis normal = MakeRecord(DistKind::dkNormal, -3, 3, 0, 1);
    normal.StatShown.CoVar = true;
    normal.CoVar = 9;
    ASSERT_EQ(CheckParameters(normal), "");
    EXPECT_EQ(normal.CoVar, 0);
    EXPECT_FALSE(normal.StatShown.CoVar);
    normal.Mean = 2;
    ASSERT_EQ(CheckParameters(normal), "");
    EXPECT_EQ(normal.CoVar, 0.5L);
    EXPECT_TRUE(normal.StatShown.CoVar);

    TIis discrete = MakeRecord(DistKind::dkDiscrete, 1, 3, 0, 0);
    discrete.Bins = 3;
    ASSERT_EQ(CheckParameters(discrete), "");
    EXPECT_EQ(discrete.Scale, 1);
    discrete.Kind = DistKind::dkContinuous;
    ASSERT_EQ(CheckParameters(discrete), "");
    EXPECT_EQ(discrete.Scale, 2.0L / 3);
}

TEST(DistributionsTest, Warnings) {
    struct Case {
        TIis iis;
        std::string warning;
    };
    const std::string slow = "Less than 1e-6 of the distribution lies between Min and Max: "
                             "drawing a value may take very long!";
    const std::vector<Case> cases = {
        {MakeRecord(DistKind::dkExponential, 9, 20, 10, 2), "Should be Min=Mean-StDev!"},
        {MakeRecord(DistKind::dkExponential, 8, 20, 10, 2), ""},
        {MakeRecord(DistKind::dkExponential, 40, 60, 10, 2), "Should be Min=Mean-StDev!\n" + slow},
        {MakeRecord(DistKind::dkNormal, 1, 5, 0, 1), "Should be Min<Mean!"},
        // The kind's own warning stays in force; the slow-drawing one follows it.
        {MakeRecord(DistKind::dkNormal, 50, 60, 0, 1), "Should be Min<Mean!\n" + slow},
        {MakeRecord(DistKind::dkNormal, -60, -50, 0, 1), "Should be Max>Mean!\n" + slow},
        {MakeRecord(DistKind::dkNormal, -60, 60, 0, 1e-3L), ""},
        {MakeRecord(DistKind::dkLognormal, -5, 0.5L, 1, 1), "Should be Max>Mean!"},
        {MakeRecord(DistKind::dkLognormal, -5, 0, 1, 1), "Should be Max>Mean!\n" + slow},
        {MakeRecord(DistKind::dkUniform, 0, 1e-30L, 0, 0), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.warning);
        TIis iis = c.iis;
        ASSERT_EQ(CheckParameters(iis), "");
        EXPECT_EQ(CheckWarnings(iis), c.warning);
        EXPECT_EQ(SlowDrawingWarning(iis), c.warning.ends_with(slow) ? slow : "");
    }
    TIis tail = MakeRecord(DistKind::dkNormal, 50, 60, 0, 1);
    CheckParameters(tail);
    EXPECT_GT(ProbabilityInsideBounds(tail), 0) << "far tails stay representable";
    EXPECT_LT(ProbabilityInsideBounds(tail), 1e-500L);
}

TEST(DistributionsTest, DrawsFollowTheGeneratorBitForBit) {
    struct Case {
        TIis iis;
        Extended (*reference)(const TIis&, TRandom&);
    };
    auto exponential = MakeRecord(DistKind::dkExponential, 0, 1000, 10, 2);
    auto uniform = MakeRecord(DistKind::dkUniform, -1, 3, 0, 0);
    auto normal = MakeRecord(DistKind::dkNormal, -100, 100, 1, 3);
    auto lognormal = MakeRecord(DistKind::dkLognormal, 0, 1e9L, 2, 1);
    const std::vector<Case> cases = {
        {exponential,
         [](const TIis& r, TRandom& g) { return r.Loc - r.Scale * LnX(1 - g.Random()); }},
        {uniform, [](const TIis& r, TRandom& g) { return g.Random() * r.Scale + r.Loc; }},
        {normal, [](const TIis& r, TRandom& g) { return g.NormalDeviate() * r.Scale + r.Loc; }},
        {lognormal,
         [](const TIis& r, TRandom& g) { return ExpX(g.NormalDeviate() * r.Scale + r.Loc); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.iis.Kind));
        TIis iis = c.iis;
        ASSERT_EQ(CheckParameters(iis), "");
        TRandom random(12345);
        TRandom reference(12345);
        for (int i = 0; i < 1000; ++i)
            ASSERT_EQ(SampleValue(iis, random, i), c.reference(iis, reference));
    }
}

TEST(DistributionsTest, BoundsAreStrict) {
    // 649090867 advances to 0, so the first uniform draw is exactly Min and is drawn again.
    TIis uniform = MakeRecord(DistKind::dkUniform, 0, 1, 0, 0);
    CheckParameters(uniform);
    TRandom random(649090867u);
    EXPECT_EQ(SampleValue(uniform, random, 0), 0x1p-32L);

    TIis exponential = MakeRecord(DistKind::dkExponential, 9, 20, 10, 2);
    CheckParameters(exponential);
    TRandom generator(1);
    for (int i = 0; i < 20000; ++i) {
        const Extended x = SampleValue(exponential, generator, i);
        ASSERT_GT(x, 9);
        ASSERT_LT(x, 20);
    }
}

TEST(DistributionsTest, FixedKindsAndExtremes) {
    struct Case {
        TIis iis;
        Extended sample, lower, upper;
    };
    const Extended eps = 1.0L / 2147483647;
    TIis constant = MakeRecord(DistKind::dkConstant, 0, 0, 0, 0);
    constant.Loc = 2.5L;
    TIis normal = MakeRecord(DistKind::dkNormal, -3, 3, 0, 2);
    CheckParameters(normal);
    TIis step = MakeRecord(DistKind::dkStepNumber, 0, 0, 0, 0);
    TIis histogram = MakeRecord(DistKind::dkDiscrete, 1, 3, 0, 0);
    const std::vector<Case> cases = {
        {TIis{}, 0, 0, 0},
        {constant, 2.5L, 2.5L, 2.5L},
        {step, 17, 0, 500},
        {histogram, 1, 1, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.iis.Kind));
        TRandom random(3);
        EXPECT_EQ(SampleValue(c.iis, random, 17), c.sample);
        EXPECT_EQ(LowerExtreme(c.iis), c.lower);
        EXPECT_EQ(UpperExtreme(c.iis, 500), c.upper);
    }
    EXPECT_EQ(LowerExtreme(normal), -3 + 2 * eps);
    EXPECT_EQ(UpperExtreme(normal, 500), 3 - 2 * eps);
}

TEST(DistributionsTest, StopRequestEndsHopelessRejection) {
    TIis normal = MakeRecord(DistKind::dkNormal, 50, 60, 0, 1);
    ASSERT_EQ(CheckParameters(normal), "");
    std::atomic<bool> stop{true};
    TRandom random(7);
    // No invented value: the draw is abandoned, and so must be its step.
    EXPECT_TRUE(std::isnan(SampleValue(normal, random, 1, &stop)));
}

struct Moments {
    double mean = 0;
    double variance = 0;
    double fourth = 0; ///< fourth central moment, for the spread of the sample variance
};

// Moments of the density restricted to (a, b) by Simpson's rule, independent of the sampler.
Moments truncatedMoments(const std::function<double(double)>& density, double a, double b) {
    const int steps = 200000;
    const double h = (b - a) / steps;
    auto integrate = [&](const std::function<double(double)>& g) {
        double sum = g(a) * density(a) + g(b) * density(b);
        for (int i = 1; i < steps; ++i) {
            const double x = a + i * h;
            sum += (i % 2 == 1 ? 4 : 2) * g(x) * density(x);
        }
        return sum * h / 3;
    };
    const double mass = integrate([](double) { return 1.0; });
    Moments m;
    m.mean = integrate([](double x) { return x; }) / mass;
    m.variance = integrate([&](double x) { return (x - m.mean) * (x - m.mean); }) / mass;
    m.fourth = integrate([&](double x) { return std::pow(x - m.mean, 4); }) / mass;
    return m;
}

double normalDensity(double x, double mu, double sigma) {
    const double z = (x - mu) / sigma;
    return std::exp(-0.5 * z * z) / (sigma * std::sqrt(2 * std::numbers::pi));
}

TEST(DistributionMomentsTest, LargeSamplesMatchTruncatedMoments) {
    struct Case {
        DistKind kind;
        double min, max, mean, stDev;
        std::function<double(double)> density;
    };
    const double lnMu = std::log(1 / std::sqrt(2.0));
    const double lnSigma = std::sqrt(std::log(2.0));
    const std::vector<Case> cases = {
        {DistKind::dkExponential, 9, 20, 10, 2,
         [](double x) { return x < 8 ? 0 : std::exp(-(x - 8) / 2) / 2; }},
        {DistKind::dkLognormal, 0.5, 3, 1, 1,
         [&](double x) { return normalDensity(std::log(x), lnMu, lnSigma) / x; }},
        {DistKind::dkNormal, -1, 2, 0, 1, [](double x) { return normalDensity(x, 0, 1); }},
        {DistKind::dkNormal, 1, 4, 0, 1, [](double x) { return normalDensity(x, 0, 1); }},
        {DistKind::dkUniform, 2, 4, 0, 0, [](double) { return 0.5; }},
    };
    const int draws = 200000;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        TIis iis = MakeRecord(c.kind, c.min, c.max, c.mean, c.stDev);
        ASSERT_EQ(CheckParameters(iis), "");
        const Moments expected = truncatedMoments(c.density, c.min, c.max);

        TRandom random(20240101);
        double sum = 0;
        double squares = 0;
        std::vector<double> values(draws);
        for (double& v : values) {
            v = static_cast<double>(SampleValue(iis, random, 0));
            sum += v;
        }
        const double mean = sum / draws;
        for (double v : values)
            squares += (v - mean) * (v - mean);
        const double variance = squares / (draws - 1);

        // Five standard errors: a fixed seed never flakes, a wrong sampler is far outside.
        EXPECT_NEAR(mean, expected.mean, 5 * std::sqrt(expected.variance / draws));
        const double varianceError =
            std::sqrt((expected.fourth - expected.variance * expected.variance) / draws);
        EXPECT_NEAR(variance, expected.variance, 5 * varianceError);
    }
}

} // namespace
} // namespace probex
