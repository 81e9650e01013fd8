#include "gui/components/PlotTicks.h"

#include <cmath>

namespace probex {

namespace {

double niceStep(double span, int maxCount) {
    const double raw = span / std::max(1, maxCount);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double normal = raw / magnitude;
    // The nearest round factor, so that the count stays close to the one asked for.
    double factor = 10;
    if (normal < 1.5)
        factor = 1;
    else if (normal < 3)
        factor = 2;
    else if (normal < 7)
        factor = 5;
    return factor * magnitude;
}

} // namespace

QVector<double> PlotTicks(double min, double max, int maxCount) {
    QVector<double> ticks;
    if (!std::isfinite(min) || !std::isfinite(max) || !(max > min)) return ticks;
    const double step = niceStep(max - min, maxCount);
    if (!(step > 0) || !std::isfinite(step)) return ticks;
    // Ticks as whole multiples of the step, so 0.1·3 does not print as 0.30000000000000004.
    const double first = std::ceil(min / step - 1e-9);
    const double last = std::floor(max / step + 1e-9);
    for (double k = first; k <= last && ticks.size() < 1000; k += 1)
        ticks.append(k * step);
    return ticks;
}

QVector<double> PlotLogTicks(double min, double max, int maxCount) {
    QVector<double> ticks;
    if (!(min > 0) || !std::isfinite(max) || !(max > min)) return ticks;
    const int first = static_cast<int>(std::ceil(std::log10(min) - 1e-9));
    const int last = static_cast<int>(std::floor(std::log10(max) + 1e-9));
    if (last < first) return PlotTicks(min, max, maxCount);
    const int decades = last - first + 1;
    const int every = std::max(1, (decades + maxCount - 1) / std::max(1, maxCount));
    for (int e = first - 1; e <= last; ++e) {
        const double power = std::pow(10.0, e);
        for (double factor : {1.0, 2.0, 5.0}) {
            if (factor != 1 && decades >= 3) continue;
            if (factor == 1 && (e - first) % every != 0) continue;
            const double v = factor * power;
            if (v >= min * (1 - 1e-9) && v <= max * (1 + 1e-9)) ticks.append(v);
        }
    }
    return ticks;
}

QString PlotTickLabel(double value, double step, QChar decimalSeparator) {
    if (std::abs(value) < std::abs(step) * 1e-9) value = 0;
    QString text = QString::number(value, 'g', 10);
    if (decimalSeparator != QLatin1Char('.')) text.replace(QLatin1Char('.'), decimalSeparator);
    return text;
}

} // namespace probex
