#include "reliability/ImportanceSampling.h"

#include "reliability/Form.h"
#include "reliability/LimitState.h"
#include "reliability/ReliabilityContext.h"
#include "reliability/ReliabilityResult.h"
#include "reliability/StandardNormal.h"

#include <algorithm>
#include <cmath>

namespace probex {

namespace {

constexpr std::int64_t ReportInterval = 500;

TProbabilityEstimate SampledEstimate(Extended sum, Extended sumSquares, std::int64_t samples,
                                     std::int64_t evaluations) {
    TProbabilityEstimate e;
    e.Steps = evaluations;
    if (samples == 0) {
        e.Upper = 1;
        return e;
    }
    const Extended n = static_cast<Extended>(samples);
    e.Probability = sum / n;
    const Extended variance =
        std::max<Extended>(sumSquares / n - e.Probability * e.Probability, 0) / n;
    const Extended sd = std::sqrt(variance);
    e.Lower = std::max<Extended>(e.Probability - WilsonZ95 * sd, 0);
    e.Upper = std::min<Extended>(e.Probability + WilsonZ95 * sd, 1);
    if (e.Probability > 0) {
        e.HasCoV = true;
        e.CoV = sd / e.Probability;
    }
    return e;
}

} // namespace

std::uint8_t RunImportanceSampling(const TReliabilityContext& context, const TDesignPoint& design,
                                   TReliabilityResult& result) {
    TLimitState& ls = context.limitState;
    const std::size_t n = design.u.size();
    const std::vector<Extended>& centre = design.u;
    Extended centreSquare = 0;
    for (const Extended c : centre)
        centreSquare += c * c;
    const std::int64_t most = std::max(1, context.settings.IsSamples);
    std::vector<Extended> u(n);
    Extended sum = 0, sumSquares = 0;
    std::int64_t samples = 0;
    result.HasInterval = true;
    std::uint8_t code = 0;
    while (samples < most) {
        Extended dot = 0;
        for (std::size_t i = 0; i < n; ++i) {
            u[i] = centre[i] + context.random.next();
            dot += u[i] * centre[i];
        }
        TLimitState::Value value;
        code = ls.evaluate(u.data(), value);
        if (code != 0) break;
        ++samples;
        if (value.fails) {
            // φ(u)/φ(u − u*) = exp(½|u*|² − u·u*)
            const Extended w = std::exp(0.5L * centreSquare - dot);
            sum += w;
            sumSquares += w * w;
        }
        if (samples % ReportInterval == 0 || samples == most) {
            const TProbabilityEstimate e =
                SampledEstimate(sum, sumSquares, samples, ls.evaluations());
            context.report(e);
            if (e.HasCoV && context.stopRule.met(samples, e.CoV)) break;
        }
    }
    result.Estimate = SampledEstimate(sum, sumSquares, samples, ls.evaluations());
    result.Evaluations = ls.evaluations();
    return code;
}

} // namespace probex
