#pragma once

#include "engine/Extended.h"
#include "reliability/ReliabilityContext.h"
#include "reliability/ReliabilityResult.h"

#include <cstdint>

namespace probex {

/// Computes the probability with the context's method (not Monte Carlo) from a fresh count
/// of evaluations. Returns 0, the error code of a model evaluation, or TLimitState::Stopped;
/// after a stop the result holds what the method had and Stopped is set.
std::uint8_t EvaluateReliability(const TReliabilityContext& context, TReliabilityResult& result);

} // namespace probex
