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

QString PlotTickLabel(double value, double step, QChar decimalSeparator) {
    if (std::abs(value) < std::abs(step) * 1e-9) value = 0;
    QString text = QString::number(value, 'g', 10);
    if (decimalSeparator != QLatin1Char('.')) text.replace(QLatin1Char('.'), decimalSeparator);
    return text;
}

} // namespace probex
