#include "variables/GeneratorPeriod.h"

#include "variables/Tiis.h"

namespace probex {

std::int64_t MostDraws(const TIis& iis) {
    switch (iis.Kind) {
    case DistKind::dkUndefined:
    case DistKind::dkConstant:
    case DistKind::dkStepNumber:
        return 0;
    case DistKind::dkDiscrete:
    case DistKind::dkExponential:
    case DistKind::dkUniform:
        return 1;
    default:
        return 2;
    }
}

std::string SimplePeriodWarning(std::int64_t steps, const std::vector<const TIis*>& inputs) {
    constexpr std::int64_t Period = std::int64_t{1} << 32;
    std::int64_t perStep = 0;
    for (const TIis* iis : inputs)
        perStep += MostDraws(*iis);
    if (perStep == 0 || steps <= Period / perStep) return {};
    return "The run can draw more than 2^32 random numbers: the \"Simple\" generator then "
           "repeats its sequence. The \"Parallel\" generator (Options, Generator) does not.";
}

} // namespace probex
