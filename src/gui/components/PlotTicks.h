#pragma once

#include <QChar>
#include <QString>
#include <QVector>

namespace probex {

/// Round tick values (1, 2 or 5 times a power of ten apart) inside [min, max], at most about
/// `maxCount` of them. Empty when the range is empty or not finite.
QVector<double> PlotTicks(double min, double max, int maxCount);

/// Ticks of a logarithmic axis: the powers of ten inside [min, max], with 2 and 5 times them
/// when fewer than three decades are shown; the linear ticks when not even one power fits.
QVector<double> PlotLogTicks(double min, double max, int maxCount);

/// A tick label: short general notation with the given decimal separator; values within a
/// rounding error of zero print as "0".
QString PlotTickLabel(double value, double step, QChar decimalSeparator);

} // namespace probex
