#include "reliability/ReliabilityEvaluation.h"

#include "reliability/Form.h"
#include "reliability/ImportanceSampling.h"
#include "reliability/LimitState.h"
#include "reliability/Sorm.h"
#include "reliability/SubsetSimulation.h"

namespace probex {

std::uint8_t EvaluateReliability(const TReliabilityContext& context, TReliabilityResult& result) {
    TLimitState& ls = context.limitState;
    ls.resetEvaluations();
    result = {};
    result.Method = context.settings.Method;
    std::uint8_t code = 0;
    if (result.Method == ReliabilityMethod::SubsetSimulation) {
        code = RunSubsetSimulation(context, result);
    } else {
        TDesignPoint design;
        code = RunForm(context, result, design);
        if (code == 0 && result.Method == ReliabilityMethod::Sorm)
            code = RunSorm(context, design, result);
        if (code == 0 && result.Method == ReliabilityMethod::ImportanceSampling)
            code = RunImportanceSampling(context, design, result);
    }
    result.Evaluations = ls.evaluations();
    result.Estimate.Steps = result.Evaluations;
    result.Stopped = code == TLimitState::Stopped;
    return code;
}

} // namespace probex
