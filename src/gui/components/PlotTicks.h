#pragma once

#include <QChar>
#include <QString>
#include <QVector>

namespace probex {

/// Round tick values (1, 2 or 5 times a power of ten apart) inside [min, max], at most about
/// `maxCount` of them. Empty when the range is empty or not finite.
QVector<double> PlotTicks(double min, double max, int maxCount);

/// A tick label: short general notation with the given decimal separator; values within a
/// rounding error of zero print as "0".
QString PlotTickLabel(double value, double step, QChar decimalSeparator);

} // namespace probex
