#pragma once

#include "sensitivity/RankSensitivity.h"

#include <array>
#include <string>

namespace probex {

/// The measures a sensitivity window can chart, in the order of its measure box.
enum class SensitivityMeasure : std::int32_t {
    FirstOrder,
    RankCorrelation,
    Contribution,
    MeanShift
};

inline constexpr std::array<const char*, 4> SensitivityMeasureNames{
    "First order", "Rank correlation", "Contribution %", "Mean shift (sd)"};

/// The value of a measure for one input (NaN where the measure does not apply).
double MeasureValue(const TInputSensitivity& input, SensitivityMeasure measure);

/// The columns of a sensitivity table, tab-separated; the event's table has the mean shift too.
std::string SensitivityHeader(bool event);
/// One input's line in the columns of SensitivityHeader ("-" for a missing interval).
std::string SensitivityLine(const TSensitivity& table, const TInputSensitivity& input,
                            char decimalSep);

/// Rank correlations: four decimals; contributions one; indices three.
std::string FormatSensitivity(double value, int decimals, char decimalSep);

} // namespace probex
