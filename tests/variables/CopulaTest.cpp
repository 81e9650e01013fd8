#include "variables/Copula.h"

#include "variables/DistributionFile.h"
#include "variables/DistributionFunctions.h"
#include "variables/Distributions.h"
#include "variables/HistogramBuild.h"
#include "variables/Random.h"

#include "support/RankCorrelation.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace probex {
namespace {

/// ln X ~ N(0, 0.3^2), bounded far outside its mass.
TIis LognormalInput() {
    TIis iis;
    iis.Kind = DistKind::dkLognormal;
    iis.Min = 0;
    iis.Max = 1000;
    iis.Mean = 1.0460278599L;
    iis.StDev = 0.3210032390L;
    EXPECT_EQ(CheckParameters(iis), "");
    return iis;
}

TCopula PairCopula(const TIis& a, const TIis& b, Extended rankCorrelation) {
    TSquareMatrix r = TSquareMatrix::Identity(2);
    r(0, 1) = r(1, 0) = NormalSpaceCorrelation(rankCorrelation);
    TCopula copula;
    EXPECT_TRUE(copula.prepare({&a, &b}, r));
    return copula;
}

using test::RankCorrelation;

// P(X1 X2 < 1/e) = P(Z1 + Z2 < -1) for the normal-space sum of two N(0, 0.3^2) deviates with
// correlation r: Phi(-1 / (0.3 sqrt(2 + 2r))).
TEST(CopulaTest, ProductOfCorrelatedLognormalsMatchesTheKnownProbability) {
    struct Case {
        Extended rankCorrelation;
        double probability;
    };
    const Case cases[] = {{0.4825837395L, 0.0271459}, {0, 0.0092111}};
    const TIis x1 = LognormalInput(), x2 = LognormalInput();
    constexpr int Draws = 1000000;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<double>(c.rankCorrelation));
        TCopula copula = PairCopula(x1, x2, c.rankCorrelation);
        TRandom random(20261207);
        int below = 0;
        std::vector<double> a(Draws), b(Draws);
        for (int k = 0; k < Draws; ++k) {
            const Extended* v = copula.draw(random);
            a[k] = static_cast<double>(v[0]);
            b[k] = static_cast<double>(v[1]);
            if (v[0] * v[1] < std::exp(-1.0L)) ++below;
        }
        const double p = c.probability;
        EXPECT_NEAR(below / double(Draws), p, 3.29 * std::sqrt(p * (1 - p) / Draws));
        EXPECT_NEAR(RankCorrelation(a, b), static_cast<double>(c.rankCorrelation),
                    3.29 / std::sqrt(Draws - 1.0));
    }
}

TEST(CopulaTest, DrawsStayInsideTheBoundsOfTruncatedInputs) {
    TIis narrow;
    narrow.Kind = DistKind::dkNormal;
    narrow.Mean = 0;
    narrow.StDev = 1;
    narrow.Min = 2;
    narrow.Max = 2.5L;
    ASSERT_EQ(CheckParameters(narrow), "");
    const TIis wide = LognormalInput();
    TCopula copula = PairCopula(narrow, wide, -0.9L);
    TRandom random(7);
    for (int k = 0; k < 10000; ++k) {
        const Extended* v = copula.draw(random);
        ASSERT_TRUE(v[0] > 2 && v[0] < 2.5L) << static_cast<double>(v[0]);
        ASSERT_TRUE(v[1] > 0 && v[1] < 1000) << static_cast<double>(v[1]);
    }
}

TEST(CopulaTest, HistogramAndTriangularInputsTakePart) {
    TLis lis;
    lis.Type = DistKind::dkContinuous;
    lis.Min = 0;
    lis.Max = 4;
    lis.Bins = 4;
    lis.Data = {1, 3, 4, 2};
    TIis histogram;
    test::ScriptedPrompter prompter;
    ASSERT_TRUE(BuildHistogram(lis, histogram, prompter));
    TIis triangular;
    triangular.Kind = DistKind::dkTriangular;
    SetDefaultParameters(triangular);
    triangular.Min = 0;
    triangular.Max = 3;
    triangular.Mode = 1;
    ASSERT_EQ(CheckParameters(triangular), "");
    TCopula copula = PairCopula(histogram, triangular, -0.6L);
    TRandom random(99);
    constexpr int Draws = 100000;
    std::vector<double> a(Draws), b(Draws);
    for (int k = 0; k < Draws; ++k) {
        const Extended* v = copula.draw(random);
        a[k] = static_cast<double>(v[0]);
        b[k] = static_cast<double>(v[1]);
        ASSERT_TRUE(a[k] >= 0 && a[k] <= 4 && b[k] >= 0 && b[k] <= 3);
    }
    EXPECT_NEAR(RankCorrelation(a, b), -0.6, 3.29 / std::sqrt(Draws - 1.0));
}

// The series that spares normal and lognormal members both special functions must give what
// the inverse of the truncated distribution function gives. Not to the last digit: Phi(z)
// rounded near 1 costs the inverse a few digits in the upper tail, which the series keeps.
TEST(CopulaTest, NormalMembersFollowTheirDeviateAsTheInverseDoes) {
    TIis w, fy;
    w.Kind = DistKind::dkNormal;
    w.Min = 0.0007L;
    w.Max = 0.0013L;
    w.Mean = 0.001L;
    w.StDev = 0.00005L;
    fy.Kind = DistKind::dkLognormal;
    fy.Min = 100;
    fy.Max = 600;
    fy.Mean = 300;
    fy.StDev = 30;
    ASSERT_EQ(CheckParameters(w), "");
    ASSERT_EQ(CheckParameters(fy), "");
    TCopula copula;
    ASSERT_TRUE(copula.prepare({&w, &fy}, TSquareMatrix::Identity(2)));
    for (Extended z = -7; z <= 7; z += 0.0625L) {
        for (int i = 0; i < 2; ++i) {
            const Extended expected = TruncatedQuantile(i == 0 ? w : fy, StandardNormalCdf(z));
            const Extended got = copula.valueAt(i, z);
            const double upperTail = static_cast<double>(StandardNormalCdf(-z));
            ASSERT_NEAR(static_cast<double>((got - expected) / expected), 0,
                        1e-17 + 1e-21 / upperTail)
                << "member " << i << " z=" << static_cast<double>(z);
        }
    }
}

} // namespace
} // namespace probex
