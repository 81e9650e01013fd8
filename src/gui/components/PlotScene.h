#pragma once

#include <QColor>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVector>

namespace probex {

/// How a series draws its points: bars rise from zero, lines join the points in order,
/// points mark each one; horizontal bars reach from x = 0 to each point (a tornado chart).
enum class PlotSeriesKind { Bar, Line, Points, HorizontalBar };

/// One data series of a plot.
struct TPlotSeries {
    PlotSeriesKind kind = PlotSeriesKind::Line;
    QString name;
    QColor color = Qt::black;
    int width = 1; ///< pen width in pixels; for bars the width of a bar
    bool visible = true;
    QVector<QPointF> points;
};

/// A marker line across the whole plot area: vertical at x = value, or horizontal at
/// y = value.
struct TPlotMarker {
    Qt::Orientation orientation = Qt::Vertical;
    double value = 0;
    QColor color = Qt::red;
    int width = 1;
    bool visible = true;
};

/// A rectangle of data coordinates.
struct TPlotRange {
    double xMin = 0;
    double xMax = 1;
    double yMin = 0;
    double yMax = 1;

    friend bool operator==(const TPlotRange&, const TPlotRange&) = default;
};

/// One axis: a fixed range, or one taken from the visible series.
struct TPlotAxis {
    double min = 0;
    double max = 1;
    bool automatic = true;
    /// Decades equally spaced; values up to zero are left out of the range and not drawn.
    bool logarithmic = false;
    QString title;
    /// Names of the whole numbers 1, 2, ...: the axis shows them in place of number ticks,
    /// for a chart of categories (a bar per input).
    QStringList categories;
};

/// Everything a plot draws; the widget and the renderer share it.
struct TPlotScene {
    TPlotAxis x;
    TPlotAxis y;
    QVector<TPlotSeries> series;
    QVector<TPlotMarker> markers;
    QString title;
    QChar decimalSeparator = QLatin1Char('.');
    QColor background = Qt::white;
    QColor axisColor = Qt::black;

    /// The axes' ranges, automatic axes spanning the visible series (bars include zero).
    TPlotRange fullRange() const;
};

} // namespace probex
