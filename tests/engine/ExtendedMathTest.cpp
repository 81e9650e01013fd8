#include "engine/ExtendedMath.h"

#include "engine/ExpressionTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

namespace probex::test {
namespace {

/// Arguments spread over a range, evenly in value or, for ranges over several binades,
/// evenly in the exponent, from a fixed linear congruential sequence.
std::vector<Extended> Arguments(Extended low, Extended high, bool logarithmic, int count) {
    std::vector<Extended> xs;
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    for (int i = 0; i < count; ++i) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        const Extended u = static_cast<Extended>(state >> 11) * 0x1p-53L;
        xs.push_back(logarithmic ? low * std::pow(high / low, u) : low + (high - low) * u);
    }
    return xs;
}

struct Accuracy {
    const char* name;
    Extended (*fast)(Extended);
    Extended (*library)(Extended);
    Extended low, high;
    bool logarithmic;
    long double maxUlps; ///< the bound the fast function must keep against the library
};

TEST(ExtendedMath, FastFunctionsAgreeWithTheLibrary) {
    static const Accuracy cases[] = {
        {"SinX", SinX, sinl, -1e6L, 1e6L, false, 2},
        {"SinX small", SinX, sinl, 1e-30L, 1.0L, true, 2},
        {"CosX", CosX, cosl, -1e6L, 1e6L, false, 2},
        {"ExpX", ExpX, expl, -11000.0L, 11000.0L, false, 2},
        {"ExpX small", ExpX, expl, -1.0L, 1.0L, false, 2},
        {"AtanX", AtanX, atanl, -1e10L, 1e10L, false, 2},
        {"LnX", LnX, logl, 1e-4000L, 1e4000L, true, 1},
        {"LnX near 1", LnX, logl, 0.5L, 1.5L, false, 1},
        {"LnX uniform draws", LnX, logl, 0x1p-32L, 1.0L, false, 1},
    };
    for (const Accuracy& c : cases) {
        SCOPED_TRACE(c.name);
        long double worst = 0;
        Extended worstAt = 0;
        for (Extended x : Arguments(c.low, c.high, c.logarithmic, 50000)) {
            const long double ulps = UlpDistance(c.fast(x), c.library(x));
            if (ulps > worst) worst = ulps, worstAt = x;
        }
        EXPECT_LE(worst, c.maxUlps) << "at " << static_cast<double>(worstAt);
        std::cout << c.name << ": largest difference " << static_cast<double>(worst) << " ulp\n";
    }
}

TEST(ExtendedMath, LogarithmAtItsEdges) {
    struct Case {
        Extended x;
        Extended expected; ///< exact, or NaN when the result is not a number
    };
    const Extended max = std::numeric_limits<Extended>::max();
    const Extended denormal = std::numeric_limits<Extended>::denorm_min();
    const Extended inf = HUGE_VALL;
    const std::vector<Case> cases = {
        {1, 0},
        {0, -inf},
        {-0.0L, -inf},
        {inf, inf},
        {-1, NAN},
        {NAN, NAN},
        {2, logl(2)},
        {max, logl(max)},
        {denormal, logl(denormal)},
        {1 + 0x1p-63L, logl(1 + 0x1p-63L)},
        {1 - 0x1p-64L, logl(1 - 0x1p-64L)},
        {1.29L, logl(1.29L)}, // either side of the switch between the two instructions
        {1.2900001L, logl(1.2900001L)},
        {0.71L, logl(0.71L)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<double>(c.x));
        const Extended r = LnX(c.x);
        if (std::isnan(c.expected)) {
            EXPECT_TRUE(std::isnan(r));
        } else {
            EXPECT_EQ(r, c.expected);
            EXPECT_EQ(std::signbit(r), std::signbit(c.expected));
        }
    }
    // Next to 1 the result keeps its full precision instead of the absolute error of x - 1.
    EXPECT_LE(UlpDistance(LnX(1 + 0x1p-63L), 0x1p-63L), 1);
    EXPECT_LE(UlpDistance(LnX(1 - 0x1p-64L), -0x1p-64L), 1);
}

} // namespace
} // namespace probex::test
