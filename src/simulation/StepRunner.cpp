#include "simulation/StepRunner.h"

namespace probex {

std::vector<std::int32_t> RecordedVariables(const TRunSetup& setup) {
    std::vector<std::int32_t> variables;
    for (const TRunOutput& out : setup.outputs)
        if (out.stat || out.his || out.log) variables.push_back(out.varIndex);
    for (const auto* inputs : {&setup.inputs, &setup.correlated})
        for (const TRunInput& in : *inputs)
            if (in.log) variables.push_back(in.varIndex);
    return variables;
}

} // namespace probex
