#pragma once

#include <cstdint>

namespace probex {

struct TDesignPoint;
struct TReliabilityContext;
struct TReliabilityResult;

/// Importance sampling after FORM: standard normal points centred at the design point,
/// each failing point weighted by φ(u)/φ(u − u*). Draws up to the method's sample count, or
/// until the CoV stop rule is met. Returns 0 or the error code of a model evaluation.
std::uint8_t RunImportanceSampling(const TReliabilityContext& context, const TDesignPoint& design,
                                   TReliabilityResult& result);

} // namespace probex
