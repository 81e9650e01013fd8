#include "variables/RefinedQuantile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace probex {
namespace {

// Both tails, far out included.
constexpr Extended tails[] = {1e-12L, 1e-9L, 1e-6L, 1e-3L, 0.02L, 0.1L, 0.3L, 0.5L};

// The fast quantile against Boost's extended-precision one, within a relative tolerance.
template <class Law> void expectNearFullInversion(const Law& y, Extended tolerance) {
    for (const Extended t : tails) {
        SCOPED_TRACE(static_cast<double>(t));
        const Extended lower = boost::math::quantile(y, t);
        const Extended upper = boost::math::quantile(boost::math::complement(y, t));
        EXPECT_LE(std::fabs(Quantile(y, t) - lower), tolerance * lower);
        EXPECT_LE(std::fabs(ComplementQuantile(y, t) - upper), tolerance * upper);
    }
}

// The gamma and beta roots are polished in double; the law's own conditioning near 0 scales
// with 1/shape, hence the wider band for the smallest shapes.
Extended doubleRounding(Extended smallestShape) {
    return 1e-14L * std::max<Extended>(1, 1 / smallestShape);
}

TEST(RefinedQuantileTest, GammaMatchesFullInversion) {
    // Shapes 1e-4..1e4: every coefficient of variation the gamma kind accepts.
    for (const Extended shape : {1e-4L, 0.01L, 0.3L, 1.0L, 2.5L, 25.0L, 400.0L, 1e4L}) {
        SCOPED_TRACE(static_cast<double>(shape));
        expectNearFullInversion(GammaLaw(shape, 3), doubleRounding(shape));
    }
}

TEST(RefinedQuantileTest, BetaMatchesFullInversion) {
    struct Shapes {
        Extended a, b;
    };
    // Whole numbers, a PERT's thirds, U shapes, a spike at 0, and shapes past the fast range.
    for (const Shapes s : {Shapes{6, 14}, Shapes{5.0L / 3, 13.0L / 3}, Shapes{1.0001L, 1.5L},
                           Shapes{2, 200}, Shapes{1, 1}, Shapes{0.5L, 0.5L}, Shapes{1e-3L, 1e-3L},
                           Shapes{0.01L, 3}, Shapes{3e4L, 1e4L}, Shapes{2e5L, 3e5L}}) {
        SCOPED_TRACE(static_cast<double>(s.a));
        SCOPED_TRACE(static_cast<double>(s.b));
        expectNearFullInversion(BetaLaw(s.a, s.b), doubleRounding(std::min(s.a, s.b)));
    }
}

// Double holds such a tail with a few digits only: the full inversion answers.
TEST(RefinedQuantileTest, TailsBelowDoubleTakeTheFullInversion) {
    for (const Extended shape : {0.3L, 25.0L}) {
        const GammaLaw y(shape, 3);
        EXPECT_EQ(Quantile(y, 1e-310L), boost::math::quantile(y, 1e-310L));
        EXPECT_EQ(ComplementQuantile(y, 1e-310L),
                  boost::math::quantile(boost::math::complement(y, 1e-310L)));
    }
    // Boost's own search raises on this tail; the draw takes the end of the support instead.
    EXPECT_EQ(ComplementQuantile(BetaLaw(5.0L / 3, 13.0L / 3), 1e-300L), 1);
}

TEST(RefinedQuantileTest, WeibullMatchesClosedFormWithPowl) {
    // Shapes 0.02..1e7: every coefficient of variation the Weibull kind accepts.
    for (const Extended shape : {0.02L, 0.5L, 1.0L, 3.6L, 1e3L, 1e7L}) {
        SCOPED_TRACE(static_cast<double>(shape));
        expectNearFullInversion(WeibullLaw(shape, 7), 1e-16L);
    }
}

} // namespace
} // namespace probex
