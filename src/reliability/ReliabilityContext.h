#pragma once

#include "engine/Extended.h"
#include "reliability/ReliabilitySettings.h"
#include "simulation/ProbabilityEstimate.h"

#include <cstdint>
#include <functional>

namespace probex {

class TLimitState;
class TNormalStream;

/// The CoV stop rule of the sampling methods: stop once the estimate's CoV has fallen to
/// TargetCoV percent after at least MinSamples samples.
struct TCoVStopRule {
    bool On = false;
    Extended TargetCoV = 5;
    std::int64_t MinSamples = 10000;

    bool met(std::int64_t samples, Extended cov) const {
        return On && samples >= MinSamples && cov * 100 <= TargetCoV;
    }
};

/// What every method works with.
struct TReliabilityContext {
    TLimitState& limitState;
    const TReliabilitySettings& settings;
    TNormalStream& random;
    TCoVStopRule stopRule;
    /// A new point of the convergence history: the estimate after Steps model evaluations.
    std::function<void(const TProbabilityEstimate&)> progress;

    void report(const TProbabilityEstimate& estimate) const {
        if (progress) progress(estimate);
    }
};

} // namespace probex
