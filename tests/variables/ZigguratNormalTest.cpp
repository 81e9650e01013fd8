#include "variables/Random.h"

#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/normal.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace probex {
namespace {

TEST(ZigguratNormalTest, DeviatesFollowTheStandardNormal) {
    // Classes of equal probability, and tails beyond points about the ziggurat's lowest layers,
    // whose wedges carry a large share of the density there: a wrong table, wedge test or tail,
    // or a lost sign, puts the counts far outside their spread.
    TRandom random;
    random.ApplySeed(false, GeneratorParallel, 11, 12);
    constexpr int Classes = 128;
    constexpr std::int64_t Steps = 1 << 19, PerStep = 4;
    const boost::math::normal normal;
    std::vector<double> bounds;
    for (int k = 1; k < Classes; ++k)
        bounds.push_back(quantile(normal, double(k) / Classes));
    const std::vector<double> tailFrom = {2.5, 3.2, 3.45, 3.6541528853610088, 4.0};
    std::vector<double> counts(Classes), beyond(tailFrom.size());
    for (std::int64_t step = 1; step <= Steps; ++step) {
        random.beginStep(step);
        for (int d = 0; d < PerStep; ++d) {
            const double x = static_cast<double>(random.NormalDeviate());
            ++counts[std::upper_bound(bounds.begin(), bounds.end(), x) - bounds.begin()];
            for (std::size_t t = 0; t < tailFrom.size(); ++t)
                beyond[t] += std::fabs(x) > tailFrom[t];
        }
    }
    const double draws = Steps * PerStep, expected = draws / Classes;
    double chiSquare = 0;
    for (double count : counts)
        chiSquare += (count - expected) * (count - expected) / expected;
    const boost::math::chi_squared classes(Classes - 1);
    EXPECT_LT(chiSquare, quantile(complement(classes, 1e-6)));
    for (std::size_t t = 0; t < tailFrom.size(); ++t) {
        const double tailExpected = 2 * draws * cdf(complement(normal, tailFrom[t]));
        EXPECT_NEAR(beyond[t], tailExpected, 5 * std::sqrt(tailExpected)) << tailFrom[t];
    }
}

} // namespace
} // namespace probex
