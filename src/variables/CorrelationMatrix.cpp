#include "variables/CorrelationMatrix.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace probex {

namespace {

/// Eigenvalues are kept at least this large: a matrix on the border of the positive
/// semidefinite cone has no Cholesky factor, and the dependence would be degenerate.
constexpr Extended EigenvalueFloor = 1e-6L;
/// A bound on the work for large groups: the result is made positive definite below in any
/// case, only its distance is not the least possible when the bound is reached.
constexpr int MaxProjections = 200;
constexpr Extended ProjectionTolerance = 1e-12L;

/// V diag(max(values, floor)) V^T.
TSquareMatrix ClipEigenvalues(const TSquareMatrix& s, Extended floor) {
    std::vector<Extended> values;
    TSquareMatrix vectors;
    SymmetricEigen(s, values, vectors);
    const int n = s.n;
    TSquareMatrix x(n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j <= i; ++j) {
            Extended sum = 0;
            for (int k = 0; k < n; ++k)
                sum += vectors(i, k) * std::max(values[static_cast<std::size_t>(k)], floor) *
                       vectors(j, k);
            x(i, j) = x(j, i) = sum;
        }
    return x;
}

Extended FrobeniusDistance(const TSquareMatrix& x, const TSquareMatrix& y) {
    Extended sum = 0;
    for (std::size_t k = 0; k < x.a.size(); ++k)
        sum += (x.a[k] - y.a[k]) * (x.a[k] - y.a[k]);
    return std::sqrt(sum);
}

} // namespace

TSquareMatrix TSquareMatrix::Identity(int size) {
    TSquareMatrix m(size);
    for (int i = 0; i < size; ++i)
        m(i, i) = 1;
    return m;
}

Extended NormalSpaceCorrelation(Extended rankCorrelation) {
    return 2 * std::sin(std::numbers::pi_v<Extended> * rankCorrelation / 6);
}

Extended RankCorrelationOf(Extended normalCorrelation) {
    return 6 / std::numbers::pi_v<Extended> * std::asin(normalCorrelation / 2);
}

bool CholeskyFactor(const TSquareMatrix& r, TSquareMatrix& lower) {
    const int n = r.n;
    lower = TSquareMatrix(n);
    for (int j = 0; j < n; ++j) {
        Extended pivot = r(j, j);
        for (int k = 0; k < j; ++k)
            pivot -= lower(j, k) * lower(j, k);
        // A pivot at rounding level means a singular matrix: the inputs would be exact
        // functions of each other, which is no valid correlation.
        if (!(pivot > 1e-12L)) return false;
        const Extended d = std::sqrt(pivot);
        lower(j, j) = d;
        for (int i = j + 1; i < n; ++i) {
            Extended sum = r(i, j);
            for (int k = 0; k < j; ++k)
                sum -= lower(i, k) * lower(j, k);
            lower(i, j) = sum / d;
        }
    }
    return true;
}

void SymmetricEigen(const TSquareMatrix& s, std::vector<Extended>& values, TSquareMatrix& vectors) {
    const int n = s.n;
    TSquareMatrix a = s;
    vectors = TSquareMatrix::Identity(n);
    for (int sweep = 0; sweep < 100; ++sweep) {
        Extended off = 0;
        for (int i = 0; i < n; ++i)
            for (int j = i + 1; j < n; ++j)
                off += a(i, j) * a(i, j);
        if (off < 1e-36L) break;
        for (int p = 0; p < n; ++p)
            for (int q = p + 1; q < n; ++q) {
                if (a(p, q) == 0) continue;
                const Extended theta = (a(q, q) - a(p, p)) / (2 * a(p, q));
                const Extended t =
                    (theta >= 0 ? 1 : -1) / (std::fabs(theta) + std::sqrt(theta * theta + 1));
                const Extended c = 1 / std::sqrt(t * t + 1);
                const Extended sn = t * c;
                for (int k = 0; k < n; ++k) {
                    const Extended akp = a(k, p), akq = a(k, q);
                    a(k, p) = c * akp - sn * akq;
                    a(k, q) = sn * akp + c * akq;
                }
                for (int k = 0; k < n; ++k) {
                    const Extended apk = a(p, k), aqk = a(q, k);
                    a(p, k) = c * apk - sn * aqk;
                    a(q, k) = sn * apk + c * aqk;
                }
                for (int k = 0; k < n; ++k) {
                    const Extended vkp = vectors(k, p), vkq = vectors(k, q);
                    vectors(k, p) = c * vkp - sn * vkq;
                    vectors(k, q) = sn * vkp + c * vkq;
                }
            }
    }
    values.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        values[static_cast<std::size_t>(i)] = a(i, i);
}

TSquareMatrix NearestCorrelationMatrix(const TSquareMatrix& r) {
    const int n = r.n;
    TSquareMatrix y = r;
    TSquareMatrix correction(n); // Dykstra's correction of the semidefinite projection
    for (int iteration = 0; iteration < MaxProjections; ++iteration) {
        TSquareMatrix shifted = y;
        for (std::size_t k = 0; k < shifted.a.size(); ++k)
            shifted.a[k] -= correction.a[k];
        const TSquareMatrix x = ClipEigenvalues(shifted, 0);
        for (std::size_t k = 0; k < x.a.size(); ++k)
            correction.a[k] = x.a[k] - shifted.a[k];
        TSquareMatrix next = x;
        for (int i = 0; i < n; ++i)
            next(i, i) = 1;
        const Extended change = FrobeniusDistance(next, y);
        y = std::move(next);
        if (change <= ProjectionTolerance * n) break;
    }
    // The last projection leaves y semidefinite at best: lift the eigenvalues to the floor
    // and rescale to a unit diagonal, which keeps the matrix positive definite.
    TSquareMatrix x = ClipEigenvalues(y, EigenvalueFloor);
    std::vector<Extended> scale(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        scale[static_cast<std::size_t>(i)] = 1 / std::sqrt(x(i, i));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            x(i, j) = i == j ? 1
                             : x(i, j) * scale[static_cast<std::size_t>(i)] *
                                   scale[static_cast<std::size_t>(j)];
    return x;
}

} // namespace probex
