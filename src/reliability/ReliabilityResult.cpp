#include "reliability/ReliabilityResult.h"

#include "settings/NumberText.h"

#include <algorithm>
#include <cstdio>

namespace probex {

namespace {

std::string Printed(const char* format, Extended value, char decimalSeparator) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    std::string text = buffer;
    std::replace(text.begin(), text.end(), '.', decimalSeparator);
    return text;
}

std::string Scientific(Extended value, char decimalSeparator) {
    return Printed("%.2Le", value, decimalSeparator);
}

} // namespace

std::string ReliabilityIntervalLine(const TProbabilityEstimate& estimate, char decimalSeparator) {
    std::string line = "Interval: " + Scientific(estimate.Lower, decimalSeparator) + " " +
                       Scientific(estimate.Upper, decimalSeparator) + " (95 %), CoV: ";
    const std::string cov = FormatCoVPercent(estimate, decimalSeparator);
    return line + (cov.empty() ? std::string("-") : cov + " %") + ", count -";
}

std::string DesignPointText(const TReliabilityResult& result, char decimalSeparator) {
    std::string text = "Variable\tValue\tu\tAlpha\tImportance\r\n";
    for (const TDesignCoordinate& c : result.DesignPoint)
        text += c.name + "\t" + FormatResultValue(c.x, decimalSeparator) + "\t" +
                FormatResultValue(c.u, decimalSeparator) + "\t" +
                Printed("%.6Lf", c.alpha, decimalSeparator) + "\t" +
                Printed("%.6Lf", c.alpha * c.alpha, decimalSeparator) + "\r\n";
    return text;
}

std::vector<std::string> ReliabilityLines(const TReliabilityResult& result, char decimalSeparator) {
    std::vector<std::string> lines;
    if (result.HasInterval)
        lines.push_back(ReliabilityIntervalLine(result.Estimate, decimalSeparator));
    lines.push_back(std::string("Method: ") + MethodCaption(result.Method) + ", evaluations " +
                    FormatInteger(result.Evaluations));
    if (result.HasDesignPoint) {
        lines.push_back("Beta: " + FormatResultValue(result.Beta, decimalSeparator));
        std::string design = "Design point: ";
        std::string importance = "Importance: ";
        for (std::size_t i = 0; i < result.DesignPoint.size(); ++i) {
            const TDesignCoordinate& c = result.DesignPoint[i];
            const std::string comma = i == 0 ? "" : ", ";
            design += comma + c.name + " " + FormatResultValue(c.x, decimalSeparator);
            importance +=
                comma + c.name + " " + Printed("%.4Lf", c.alpha * c.alpha, decimalSeparator);
        }
        lines.push_back(design);
        lines.push_back(importance);
    }
    if (result.HasSorm)
        lines.push_back("SORM: Breitung " + Scientific(result.Breitung, decimalSeparator) +
                        ", Hohenbichler " + Scientific(result.Hohenbichler, decimalSeparator) +
                        ", Tvedt " + Scientific(result.Tvedt, decimalSeparator));
    return lines;
}

} // namespace probex
