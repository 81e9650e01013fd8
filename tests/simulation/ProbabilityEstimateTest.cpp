#include "simulation/ProbabilityEstimate.h"

#include <gtest/gtest.h>

#include <cmath>

namespace probex {
namespace {

TEST(ProbabilityEstimate, WilsonIntervalAndCoVMatchIndependentValues) {
    // Computed with mpmath at 30 digits from the Wilson score formula with z = 1.959963984540054.
    struct Case {
        std::int64_t count;
        long double lower, upper, cov;
    };
    const Case cases[] = {
        {0, 0.0L, 0.0038267584855551241318L, -1},
        {1, 0.00017654637062607801483L, 0.0056425585979579358687L, 0.99949987493746091014L},
        {5, 0.0021375355273244599175L, 0.011650955373375112973L, 0.44609416046390923363L},
        {500, 0.46906960036810418072L, 0.53093039963189581928L, 0.03162277660168379332L},
        {1000, 0.99617324151444487587L, 1.0L, 0.0L},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        const TProbabilityEstimate e = EstimateProbability(c.count, 1000);
        EXPECT_EQ(e.Steps, 1000);
        EXPECT_EQ(e.Count, c.count);
        EXPECT_EQ(e.Probability, static_cast<Extended>(c.count) / 1000);
        EXPECT_LE(std::fabs(e.Lower - c.lower), 1e-17L);
        EXPECT_LE(std::fabs(e.Upper - c.upper), 1e-17L);
        EXPECT_GE(e.Lower, 0);
        EXPECT_LE(e.Upper, 1);
        EXPECT_EQ(e.HasCoV, c.cov >= 0);
        if (e.HasCoV) {
            EXPECT_LE(std::fabs(e.CoV - c.cov), 1e-17L);
        }
    }
    const TProbabilityEstimate none = EstimateProbability(0, 0);
    EXPECT_EQ(none.Lower, 0);
    EXPECT_EQ(none.Upper, 1);
    EXPECT_FALSE(none.HasCoV);
}

TEST(ProbabilityEstimate, LineShowsTheIntervalCoVAndCount) {
    struct Case {
        std::int64_t count, steps;
        char separator;
        const char* line;
    };
    const Case cases[] = {
        {4971, 1000000, '.', "Interval: 0.00484 0.00511 (95 %), CoV: 1.4 %, count 4971 of 1000000"},
        {0, 1000, '.', "Interval: 0.0000 0.0038 (95 %), CoV: -, count 0 of 1000"},
        {500, 1000, ',', "Interval: 0,469 0,531 (95 %), CoV: 3,2 %, count 500 of 1000"},
        {1000, 1000, '.', "Interval: 0.9962 1.0000 (95 %), CoV: 0 %, count 1000 of 1000"},
        {3, 10, '.', "Interval: 0.11 0.60 (95 %), CoV: 48 %, count 3 of 10"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EstimateLine(EstimateProbability(c.count, c.steps), c.separator), c.line);
}

} // namespace
} // namespace probex
