#pragma once

#include <cstdint>

namespace probex {

struct TReliabilityContext;
struct TReliabilityResult;

/// Subset simulation: conditional levels of probability 0.1, each level's samples grown from
/// the best tenth of the last by adaptive conditional sampling in standard normal space
/// (each chain step proposes ρ·u + √(1 − ρ²)·z, with the spread tuned towards an acceptance
/// of 0.44). The CoV adds the levels' variances, each widened by its chains' correlation.
/// Returns 0 or the error code of a model evaluation.
std::uint8_t RunSubsetSimulation(const TReliabilityContext& context, TReliabilityResult& result);

} // namespace probex
