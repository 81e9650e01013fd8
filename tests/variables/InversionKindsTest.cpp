#include "variables/InversionKinds.h"

#include "variables/DistributionFunctions.h"
#include "variables/Distributions.h"
#include "variables/Random.h"

#include "support/Records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

namespace probex {
namespace {

using test::MakeRecord;

constexpr Extended pi = std::numbers::pi_v<Extended>;
constexpr Extended eulerGamma = std::numbers::egamma_v<Extended>;
const Extended gumbelScale = 20 * std::sqrt(6.0L) / pi; // of a deviation of 20
const Extended gumbelSkew = 1.1395470994046486575L;     // 12·√6·ζ(3)/π³

// Each kind with bounds that cut off nothing that matters, against closed forms written out
// here: the distribution function, mean, deviation, median, skewness and excess kurtosis.
struct Case {
    const char* name;
    TIis iis;
    std::function<Extended(Extended)> cdf;
    Extended mean, stDev, median, skew, kurt;
};

std::vector<Case> cases() {
    const Extended a = 100 - eulerGamma * gumbelScale;
    const Extended b = gumbelScale;
    const Extended aMin = 100 + eulerGamma * gumbelScale;
    // Weibull with shape 2: mean λ√π/2, deviation λ√(1 − π/4).
    const Extended lambda = 10;
    const Extended wMean = lambda * std::sqrt(pi) / 2;
    const Extended wStDev = lambda * std::sqrt(1 - pi / 4);
    return {
        {"Gumbel", MakeRecord(DistKind::dkGumbel, -1000, 1000, 100, 20),
         [=](Extended x) { return std::exp(-std::exp(-(x - a) / b)); }, 100, 20,
         a - b * std::log(std::numbers::ln2_v<Extended>), gumbelSkew, 2.4L},
        {"GumbelMin", MakeRecord(DistKind::dkGumbelMin, -1000, 1000, 100, 20),
         [=](Extended x) { return -std::expm1(-std::exp((x - aMin) / b)); }, 100, 20,
         aMin + b * std::log(std::numbers::ln2_v<Extended>), -gumbelSkew, 2.4L},
        {"Weibull", MakeRecord(DistKind::dkWeibull, 0, 1000, wMean, wStDev),
         [=](Extended x) { return -std::expm1(-(x / lambda) * (x / lambda)); }, wMean, wStDev,
         lambda * std::sqrt(std::numbers::ln2_v<Extended>),
         2 * std::sqrt(pi) * (pi - 3) / std::pow(4 - pi, 1.5L),
         (-6 * pi * pi + 24 * pi - 16) / ((4 - pi) * (4 - pi))},
        // Gamma of shape 1 is the exponential law.
        {"Gamma", MakeRecord(DistKind::dkGamma, 0, 1000, 2, 2),
         [](Extended x) { return -std::expm1(-x / 2); }, 2, 2, 2 * std::numbers::ln2_v<Extended>, 2,
         6},
        // Beta(2, 1) on [0, 3]: F(x) = (x/3)².
        {"Beta", MakeRecord(DistKind::dkBeta, 0, 3, 2, 3 / std::sqrt(18.0L)),
         [](Extended x) { return (x / 3) * (x / 3); }, 2, 3 / std::sqrt(18.0L), 3 / std::sqrt(2.0L),
         -2 * std::sqrt(2.0L) / 5, -0.6L},
        {"Triangular", MakeRecord(DistKind::dkTriangular, 0, 3, 0, 0, 1),
         [](Extended x) { return x <= 1 ? x * x / 3 : 1 - (3 - x) * (3 - x) / 6; }, 4.0L / 3,
         std::sqrt(7.0L / 18), 3 - std::sqrt(3.0L),
         std::sqrt(2.0L) * 20 / (5 * std::pow(7.0L, 1.5L)), -0.6L},
        // PERT on [0, 2] with mode 1 is Beta(3, 3) stretched twice.
        {"PERT", MakeRecord(DistKind::dkPert, 0, 2, 0, 0, 1),
         [](Extended x) {
             const Extended y = x / 2;
             return y * y * y * (10 - 15 * y + 6 * y * y);
         },
         1, 2 / std::sqrt(28.0L), 1, 0, -6.0L / 9},
    };
}

TEST(InversionKindsTest, StatisticsQuantilesAndDraws) {
    for (Case& c : cases()) {
        SCOPED_TRACE(c.name);
        TIis& iis = c.iis;
        ASSERT_EQ(CheckParameters(iis), "");
        EXPECT_EQ(CheckWarnings(iis), "");
        EXPECT_NEAR(iis.Mean, c.mean, 1e-15L * (1 + std::fabs(c.mean)));
        EXPECT_NEAR(iis.StDev, c.stDev, 1e-13L * c.stDev);
        EXPECT_NEAR(iis.Variance, c.stDev * c.stDev, 1e-12L * c.stDev * c.stDev);
        EXPECT_NEAR(iis.Median, c.median, 1e-13L * (1 + std::fabs(c.median)));
        EXPECT_NEAR(iis.Skew, c.skew, 1e-10L);
        EXPECT_NEAR(iis.Kurt, c.kurt, 1e-10L);
        for (Extended p : {1e-9L, 0.01L, 0.3L, 0.5L, 0.99L, 1 - 1e-9L})
            EXPECT_NEAR(c.cdf(TruncatedQuantile(iis, p)), p, 1e-12L * p + 1e-17L)
                << "p=" << static_cast<double>(p);

        // Draws: mean, deviation and two quantiles within five standard errors.
        const int n = 20000;
        TRandom random(20261207);
        std::vector<Extended> x(n);
        for (Extended& v : x) {
            v = SampleValue(iis, random, 0);
            ASSERT_TRUE(v > iis.Min && v < iis.Max);
        }
        Extended sum = 0;
        for (Extended v : x)
            sum += v;
        const Extended mean = sum / n;
        Extended squares = 0;
        for (Extended v : x)
            squares += (v - mean) * (v - mean);
        const Extended stDev = std::sqrt(squares / (n - 1));
        EXPECT_NEAR(mean, c.mean, 5 * c.stDev / std::sqrt(Extended(n)));
        EXPECT_NEAR(stDev, c.stDev, 5 * c.stDev * std::sqrt((c.kurt + 2) / (4 * n)));
        for (Extended p : {0.1L, 0.9L}) {
            const Extended q = TruncatedQuantile(iis, p);
            const Extended below =
                std::count_if(x.begin(), x.end(), [q](Extended v) { return v <= q; });
            EXPECT_NEAR(below / n, p, 5 * std::sqrt(p * (1 - p) / n)) << "p=" << double(p);
        }
    }
}

TEST(InversionKindsTest, GumbelKnownQuantiles) {
    TIis iis = MakeRecord(DistKind::dkGumbel, -1e6L, 1e6L, 100, 20);
    ASSERT_EQ(CheckParameters(iis), "");
    EXPECT_NEAR(TruncatedQuantile(iis, 0.99L), 162.733L, 5e-4L);
    EXPECT_NEAR(TruncatedQuantile(iis, 0.01L), 67.184L, 5e-4L);
}

TEST(InversionKindsTest, AlmostNoMassIsDrawnInOneStep) {
    // Between 8 and 9 deviations above the mean of a Gumbel of largest values: about 1e-5
    // of it, nearly exponential there with the rate of its scale.
    TIis iis = MakeRecord(DistKind::dkGumbel, 1000, 1010, 0, 100);
    ASSERT_EQ(CheckParameters(iis), "");
    TRandom random(5);
    for (int i = 0; i < 1000; ++i) {
        const Extended x = SampleValue(iis, random, i);
        ASSERT_TRUE(x > 1000 && x < 1010);
    }
    TIis far = MakeRecord(DistKind::dkGumbel, 3000, 3001, 0, 100);
    ASSERT_EQ(CheckParameters(far), "");
    EXPECT_EQ(CheckWarnings(far),
              "Should be Min<Mean!\nLess than 1e-6 of the distribution lies between Min and Max!");
    EXPECT_GT(ProbabilityInsideBounds(far), 0);
    EXPECT_LT(ProbabilityInsideBounds(far), 1e-6L);
    const Extended median = TruncatedQuantile(far, 0.5L);
    EXPECT_GT(median, 3000.3L); // an exponential of scale 100·√6/π: median 0.5 beyond Min
    EXPECT_LT(median, 3000.6L);
    EXPECT_NEAR(TruncatedCdf(far, median), 0.5L, 1e-12L);
}

TEST(InversionKindsTest, Checks) {
    struct Check {
        TIis iis;
        std::string message;
    };
    const Extended inf = HUGE_VALL;
    const std::vector<Check> checks = {
        {MakeRecord(DistKind::dkGumbel, 0, 10, 5, 0), "Must be StDev>0!"},
        {MakeRecord(DistKind::dkGumbelMin, 10, 10, 5, 1), "Must be Min<Max!"},
        {MakeRecord(DistKind::dkGumbel, 0, inf, 5, 1), "Parameters must be finite numbers!"},
        {MakeRecord(DistKind::dkGumbelMin, 1e5L, 1e5L + 1, 0, 1),
         "No probability lies between Min and Max!"},
        {MakeRecord(DistKind::dkWeibull, 0, 10, 0, 1), "Must be Mean>0!"},
        {MakeRecord(DistKind::dkWeibull, 0, 10, 1, 2e6L), "Must be 1E-6<=StDev/Mean<=1E6!"},
        {MakeRecord(DistKind::dkWeibull, -5, -1, 1, 1), "No probability lies between Min and Max!"},
        {MakeRecord(DistKind::dkGamma, 0, 10, -1, 1), "Must be Mean>0!"},
        {MakeRecord(DistKind::dkGamma, 0, 10, 1, 1e-3L), "Must be 0.01<=StDev/Mean<=100!"},
        {MakeRecord(DistKind::dkBeta, 0, 1, 1, 0.1L), "Must be Min<Mean<Max!"},
        {MakeRecord(DistKind::dkBeta, 0, 1, 0.5L, 0.5L),
         "Must be StDev<sqrt((Mean-Min)*(Max-Mean))!"},
        {MakeRecord(DistKind::dkBeta, 0, 1, 0.5L, 0), "Must be StDev>0!"},
        {MakeRecord(DistKind::dkTriangular, 0, 1, 0, 0, 1.5L), "Must be Min<=Mode<=Max!"},
        {MakeRecord(DistKind::dkPert, 0, 1, 0, 0, -0.1L), "Must be Min<=Mode<=Max!"},
        {MakeRecord(DistKind::dkPert, 0, 1, 0, 0, inf), "Parameters must be finite numbers!"},
        {MakeRecord(DistKind::dkTriangular, 0, 1, 0, 0, 0), ""},
        {MakeRecord(DistKind::dkPert, 0, 1, 0, 0, 1), ""},
    };
    for (const Check& c : checks) {
        SCOPED_TRACE(c.message);
        TIis iis = c.iis;
        const TIis before = iis;
        EXPECT_EQ(CheckParameters(iis), c.message);
        if (!c.message.empty()) {
            EXPECT_EQ(iis.Loc, before.Loc) << "a failure changes nothing";
        }
    }
}

TEST(InversionKindsTest, Warnings) {
    struct Warn {
        TIis iis;
        std::string warning;
    };
    const std::vector<Warn> warnings = {
        {MakeRecord(DistKind::dkGumbel, 5, 10, 0, 1), "Should be Min<Mean!"},
        {MakeRecord(DistKind::dkWeibull, 0, 1, 2, 1), "Should be Max>Mean!"},
        {MakeRecord(DistKind::dkGamma, 0, 10, 2, 1), ""},
        {MakeRecord(DistKind::dkBeta, 0, 1, 0.5L, 0.45L), "The density is infinite at Min or Max!"},
        {MakeRecord(DistKind::dkBeta, 0, 1, 0.5L, 0.2L), ""},
    };
    for (const Warn& w : warnings) {
        SCOPED_TRACE(w.warning);
        TIis iis = w.iis;
        ASSERT_EQ(CheckParameters(iis), "");
        EXPECT_EQ(CheckWarnings(iis), w.warning);
        EXPECT_EQ(SlowDrawingWarning(iis), "") << "inversion is never slow";
    }
}

TEST(InversionKindsTest, DefaultsAreCheckedAndExtremesLieInside) {
    for (DistKind kind :
         {DistKind::dkGumbel, DistKind::dkGumbelMin, DistKind::dkWeibull, DistKind::dkGamma,
          DistKind::dkBeta, DistKind::dkTriangular, DistKind::dkPert}) {
        SCOPED_TRACE(static_cast<int>(kind));
        EXPECT_TRUE(IsInversionKind(kind));
        EXPECT_TRUE(HasDistributionFunction(kind));
        TIis iis;
        iis.Kind = kind;
        SetDefaultParameters(iis);
        const TIis defaults = iis;
        // Every statistic is shown, but a mean of 0 has no coefficient of variation.
        EXPECT_EQ(iis.StatShown, (TStatShown{true, true, true, iis.Mean != 0, true, true, true}));
        ASSERT_EQ(CheckParameters(iis), "");
        EXPECT_EQ(iis.Scale, defaults.Scale) << "defaults come derived";
        EXPECT_EQ(CheckWarnings(iis), "");
        const Extended lower = LowerExtreme(iis);
        const Extended upper = UpperExtreme(iis, 100);
        EXPECT_TRUE(iis.Min < lower && lower < upper && upper < iis.Max);
        EXPECT_NEAR(TruncatedCdf(iis, lower), 1.0L / 2147483647, 1e-15L);
    }
    EXPECT_FALSE(IsInversionKind(DistKind::dkNormal));
}

} // namespace
} // namespace probex
