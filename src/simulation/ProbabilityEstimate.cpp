#include "simulation/ProbabilityEstimate.h"

#include "settings/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace probex {

namespace {

std::string FixedText(Extended value, int decimals, char decimalSeparator) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Lf", decimals, value);
    std::string text = buffer;
    std::replace(text.begin(), text.end(), '.', decimalSeparator);
    return text;
}

/// Decimals that show `magnitude` with two significant digits, never fewer than `least`.
int DecimalsFor(Extended magnitude, int least) {
    if (!(magnitude > 0) || !std::isfinite(magnitude)) return least;
    const int leading = static_cast<int>(std::floor(std::log10(magnitude)));
    return std::clamp(1 - leading, least, 18);
}

} // namespace

TProbabilityEstimate EstimateProbability(std::int64_t count, std::int64_t steps) {
    TProbabilityEstimate e;
    e.Steps = std::max<std::int64_t>(steps, 0);
    e.Count = std::clamp<std::int64_t>(count, 0, e.Steps);
    if (e.Steps == 0) {
        e.Upper = 1;
        return e;
    }
    const Extended n = static_cast<Extended>(e.Steps);
    const Extended k = static_cast<Extended>(e.Count);
    const Extended z2 = WilsonZ95 * WilsonZ95;
    e.Probability = k / n;
    const Extended centre = (k + z2 / 2) / (n + z2);
    const Extended half = WilsonZ95 / (n + z2) * std::sqrt(k * (n - k) / n + z2 / 4);
    // At the ends the exact bound is 0 or 1; the subtraction would leave rounding dust.
    e.Lower = e.Count == 0 ? 0 : std::max<Extended>(centre - half, 0);
    e.Upper = e.Count == e.Steps ? 1 : std::min<Extended>(centre + half, 1);
    if (e.Count > 0) {
        e.HasCoV = true;
        e.CoV = std::sqrt((1 - e.Probability) / (n * e.Probability));
    }
    return e;
}

std::string FormatIntervalBound(Extended value, Extended width, char decimalSeparator) {
    return FixedText(value, DecimalsFor(width, 2), decimalSeparator);
}

std::string FormatCoVPercent(const TProbabilityEstimate& estimate, char decimalSeparator) {
    if (!estimate.HasCoV) return {};
    const Extended percent = estimate.CoV * 100;
    return FixedText(percent, DecimalsFor(percent, 0), decimalSeparator);
}

std::string EstimateLine(const TProbabilityEstimate& estimate, char decimalSeparator) {
    const Extended width = estimate.Upper - estimate.Lower;
    std::string line = "Interval: " + FormatIntervalBound(estimate.Lower, width, decimalSeparator) +
                       " " + FormatIntervalBound(estimate.Upper, width, decimalSeparator) +
                       " (95 %), CoV: ";
    const std::string cov = FormatCoVPercent(estimate, decimalSeparator);
    line += cov.empty() ? std::string("-") : cov + " %";
    return line + ", count " + FormatInteger(estimate.Count) + " of " +
           FormatInteger(estimate.Steps);
}

} // namespace probex
