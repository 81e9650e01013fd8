#pragma once

#include "engine/Extended.h"

#include <cstdint>
#include <string>

namespace probex {

/// How precise a probability counted over logged steps is: the count, the steps, the 95 %
/// Wilson score interval and the coefficient of variation of the estimate.
///
/// Wilson rather than Clopper-Pearson: it has a closed form, so it costs nothing to update at
/// every refresh of a long run; it stays inside [0, 1] and has a proper width at a count of 0
/// (upper bound about 3.84/n) and at a count equal to the steps; and its coverage stays close
/// to 95 % across p, where the exact Clopper-Pearson interval is systematically wider.
struct TProbabilityEstimate {
    std::int64_t Steps = 0; ///< steps counted
    std::int64_t Count = 0; ///< steps in which the condition holds
    Extended Probability = 0;
    Extended Lower = 0;
    Extended Upper = 0;
    Extended CoV = 0;    ///< sqrt((1 - p)/(n p)); meaningless while Count is 0
    bool HasCoV = false; ///< false at a count of 0, where the CoV is infinite
};

/// The two-sided 95 % normal quantile used for the interval.
inline constexpr Extended WilsonZ95 = 1.95996398454005423552L;

/// The estimate from a count out of a number of steps, in extended precision. With no steps
/// everything is 0 and the interval is the whole [0, 1].
TProbabilityEstimate EstimateProbability(std::int64_t count, std::int64_t steps);

/// An interval bound with enough decimals to tell the two bounds apart (about two significant
/// digits of the interval's width).
std::string FormatIntervalBound(Extended value, Extended width, char decimalSeparator);

/// The CoV as a percentage with two significant digits ("1.4", "12", "0.35"); empty without a
/// CoV.
std::string FormatCoVPercent(const TProbabilityEstimate& estimate, char decimalSeparator);

/// "Interval: 0.00484 0.00511 (95 %), CoV: 1.4 %, count 4971 of 1000000".
std::string EstimateLine(const TProbabilityEstimate& estimate, char decimalSeparator);

} // namespace probex
