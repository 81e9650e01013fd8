#include "variables/CorrelationMatrix.h"

#include <gtest/gtest.h>

#include <cmath>

namespace probex {
namespace {

TSquareMatrix Matrix(int n, std::initializer_list<Extended> values) {
    TSquareMatrix m(n);
    m.a.assign(values.begin(), values.end());
    return m;
}

TEST(CorrelationMatrixTest, ConversionOfRankCorrelationsRoundTrips) {
    EXPECT_NEAR(static_cast<double>(NormalSpaceCorrelation(0.4825837395L)), 0.5, 1e-10);
    for (const Extended rho : {-0.9L, -0.3L, 0.0L, 0.25L, 0.99L})
        EXPECT_NEAR(static_cast<double>(RankCorrelationOf(NormalSpaceCorrelation(rho))),
                    static_cast<double>(rho), 1e-15);
}

TEST(CorrelationMatrixTest, CholeskyFactorReproducesTheMatrix) {
    const TSquareMatrix r = Matrix(3, {1, 0.5L, 0.2L, 0.5L, 1, -0.3L, 0.2L, -0.3L, 1});
    TSquareMatrix l;
    ASSERT_TRUE(CholeskyFactor(r, l));
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            Extended sum = 0;
            for (int k = 0; k < 3; ++k)
                sum += l(i, k) * l(j, k);
            EXPECT_NEAR(static_cast<double>(sum), static_cast<double>(r(i, j)), 1e-15);
            if (j > i) {
                EXPECT_EQ(l(i, j), 0);
            }
        }
}

TEST(CorrelationMatrixTest, NotPositiveDefiniteHasNoFactor) {
    TSquareMatrix l;
    EXPECT_FALSE(CholeskyFactor(Matrix(3, {1, 0.9L, 0.9L, 0.9L, 1, -0.9L, 0.9L, -0.9L, 1}), l));
    EXPECT_FALSE(CholeskyFactor(Matrix(2, {1, 1, 1, 1}), l)); // singular
}

// The example of Higham's paper (2002): the nearest correlation matrix to
// [1 1 0; 1 1 1; 0 1 1] has 0.7607 and 0.1573 off the diagonal.
TEST(CorrelationMatrixTest, NearestCorrelationMatrixOfHighamsExample) {
    const TSquareMatrix x = NearestCorrelationMatrix(Matrix(3, {1, 1, 0, 1, 1, 1, 0, 1, 1}));
    const double expected[3][3] = {{1, 0.7607, 0.1573}, {0.7607, 1, 0.7607}, {0.1573, 0.7607, 1}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(static_cast<double>(x(i, j)), expected[i][j], 1e-4) << i << "," << j;
    TSquareMatrix l;
    EXPECT_TRUE(CholeskyFactor(x, l));
}

TEST(CorrelationMatrixTest, NearestOfAValidMatrixIsItself) {
    const TSquareMatrix r = Matrix(2, {1, 0.5L, 0.5L, 1});
    const TSquareMatrix x = NearestCorrelationMatrix(r);
    EXPECT_NEAR(static_cast<double>(x(0, 1)), 0.5, 1e-9);
    EXPECT_EQ(x(0, 0), 1);
}

} // namespace
} // namespace probex
