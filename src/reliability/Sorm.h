#pragma once

#include "engine/Extended.h"

#include <cstdint>
#include <vector>

namespace probex {

struct TDesignPoint;
struct TReliabilityContext;
struct TReliabilityResult;

/// The three classic second-order corrections of Φ(−β) from the principal curvatures κ of
/// the limit state at the design point (κ > 0 where the surface bends away from the origin).
/// A formula that is not defined for these curvatures (1 + β·κ ≤ 0) gives NaN.
struct TSormProbabilities {
    Extended Breitung = 0;
    Extended Hohenbichler = 0;
    Extended Tvedt = 0;
};
TSormProbabilities SormProbabilities(Extended beta, const std::vector<Extended>& curvatures);

/// SORM after FORM: the curvatures at the design point from a finite-difference Hessian
/// rotated into the tangent plane, and the three probabilities; the probability shown is
/// Breitung's. Returns 0 or the error code of a model evaluation.
std::uint8_t RunSorm(const TReliabilityContext& context, const TDesignPoint& design,
                     TReliabilityResult& result);

/// The eigenvalues of a symmetric matrix (row-major, n×n) by Jacobi rotations.
std::vector<Extended> SymmetricEigenvalues(std::vector<Extended> a, std::size_t n);

} // namespace probex
