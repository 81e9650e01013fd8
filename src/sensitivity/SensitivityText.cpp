#include "sensitivity/SensitivityText.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace probex {

double MeasureValue(const TInputSensitivity& input, SensitivityMeasure measure) {
    switch (measure) {
    case SensitivityMeasure::FirstOrder:
        return input.firstOrder;
    case SensitivityMeasure::RankCorrelation:
        return input.rankCorrelation;
    case SensitivityMeasure::Contribution:
        return input.contribution;
    case SensitivityMeasure::MeanShift:
        return input.meanShift;
    }
    return std::numeric_limits<double>::quiet_NaN();
}

std::string FormatSensitivity(double value, int decimals, char decimalSep) {
    if (!std::isfinite(value)) return "-";
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string result = text;
    if (result.find_first_not_of("-0.") == std::string::npos && result[0] == '-')
        result.erase(0, 1); // no "-0.000"
    for (char& c : result)
        if (c == '.') c = decimalSep;
    return result;
}

std::string SensitivityHeader(bool event) {
    std::string header = "Output\tInput\tRank correlation\tContribution %\tFirst order\tFirst "
                         "order 95 %";
    if (event) header += "\tMean shift (sd)";
    return header;
}

std::string SensitivityLine(const TSensitivity& table, const TInputSensitivity& input,
                            char decimalSep) {
    std::string line = table.output + '\t' + input.input + '\t' +
                       FormatSensitivity(input.rankCorrelation, 4, decimalSep) + '\t' +
                       FormatSensitivity(input.contribution, 1, decimalSep) + '\t' +
                       FormatSensitivity(input.firstOrder, 3, decimalSep) + '\t';
    if (std::isfinite(input.firstOrderLow) && std::isfinite(input.firstOrderHigh))
        line += FormatSensitivity(input.firstOrderLow, 3, decimalSep) + ' ' +
                FormatSensitivity(input.firstOrderHigh, 3, decimalSep);
    else
        line += '-';
    if (table.event) line += '\t' + FormatSensitivity(input.meanShift, 2, decimalSep);
    return line;
}

} // namespace probex
