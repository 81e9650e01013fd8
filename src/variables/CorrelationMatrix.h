#pragma once

#include "engine/Extended.h"

#include <vector>

namespace probex {

/// A square matrix of n rows stored row by row; the correlation matrices here are symmetric
/// with a unit diagonal.
struct TSquareMatrix {
    int n = 0;
    std::vector<Extended> a;

    TSquareMatrix() = default;
    explicit TSquareMatrix(int size)
        : n(size), a(static_cast<std::size_t>(size) * static_cast<std::size_t>(size), 0) {}
    static TSquareMatrix Identity(int size);

    Extended& operator()(int i, int j) { return a[static_cast<std::size_t>(i * n + j)]; }
    Extended operator()(int i, int j) const { return a[static_cast<std::size_t>(i * n + j)]; }
};

/// The correlation of two standard normal deviates whose rank correlation (Spearman) is
/// `rankCorrelation`: 2 sin(pi rho / 6).
Extended NormalSpaceCorrelation(Extended rankCorrelation);

/// The inverse of NormalSpaceCorrelation: 6/pi asin(r / 2).
Extended RankCorrelationOf(Extended normalCorrelation);

/// The lower triangular L with L L^T = r. False when r is not positive definite (a pivot
/// not above a small tolerance), `lower` then undefined.
bool CholeskyFactor(const TSquareMatrix& r, TSquareMatrix& lower);

/// The eigenvalues and eigenvectors (columns of `vectors`) of a symmetric matrix, by cyclic
/// Jacobi rotations: slow for large n but exact to working precision, and a correlation
/// matrix of a project is small.
void SymmetricEigen(const TSquareMatrix& s, std::vector<Extended>& values, TSquareMatrix& vectors);

/// The nearest correlation matrix to a symmetric matrix with unit diagonal in the Frobenius
/// norm, by alternating projections with Dykstra's correction (Higham 2002). The result's
/// eigenvalues are kept above a small floor and its diagonal is exactly 1, so that it is
/// positive definite and has a Cholesky factor.
TSquareMatrix NearestCorrelationMatrix(const TSquareMatrix& r);

} // namespace probex
