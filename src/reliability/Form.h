#pragma once

#include "engine/Extended.h"

#include <cstdint>
#include <vector>

namespace probex {

struct TReliabilityContext;
struct TReliabilityResult;

/// The design point of one search: the point of the limit state nearest the origin of
/// standard normal space.
struct TDesignPoint {
    std::vector<Extended> u;
    std::vector<Extended> alpha; ///< -∇g/|∇g| at u: points towards failure
    std::vector<Extended> gradient;
    Extended g = 0;
    Extended beta = 0; ///< α·u, negative when the origin itself fails
    bool converged = false;
    std::int32_t iterations = 0;
};

/// FORM: the design-point search from the origin (improved HL-RF with an Armijo step on the
/// merit ½|u|² + c|g|, central-difference gradients scaled to each coordinate), then
/// further searches from other start points that check for a nearer design point. Fills the
/// result's probability Φ(−β), β, design point and importance factors, and its warnings.
/// Returns 0 or the error code of a model evaluation (TLimitState::Stopped for a stop).
std::uint8_t RunForm(const TReliabilityContext& context, TReliabilityResult& result,
                     TDesignPoint& design);

/// The gradient of g at u by central differences; fills g too.
std::uint8_t LimitStateGradient(const TReliabilityContext& context, const std::vector<Extended>& u,
                                Extended& g, std::vector<Extended>& gradient);

} // namespace probex
