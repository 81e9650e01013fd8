#include "gui/components/PlotRenderer.h"

#include "gui/components/PlotTicks.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace probex {

namespace {

constexpr double TickLength = 4;
constexpr double Gap = 3;
// Far-off points of a zoomed plot are pulled in to keep the raster engine in range.
constexpr double PixelLimit = 1e6;

void widen(double& lo, double& hi, bool logarithmic) {
    if (logarithmic) {
        // Nothing at or below zero has a place on a log axis.
        if (!(hi > 0)) hi = 10;
        if (!(lo > 0)) lo = hi / 10;
        if (!(hi > lo)) {
            lo /= 10;
            hi *= 10;
        }
        return;
    }
    if (hi > lo) return;
    const double half = lo == 0 ? 0.5 : std::abs(lo) * 0.1;
    lo -= half;
    hi += half;
}

int tickCountFor(double pixels, double labelSize) {
    return std::max(2, static_cast<int>(pixels / std::max(1.0, labelSize)));
}

struct AxisTicks {
    QVector<double> values;
    QStringList labels;
};

AxisTicks ticksFor(double lo, double hi, int maxCount, QChar separator, bool logarithmic) {
    AxisTicks t;
    t.values = logarithmic ? PlotLogTicks(lo, hi, maxCount) : PlotTicks(lo, hi, maxCount);
    const double step = t.values.size() > 1 ? t.values[1] - t.values[0] : hi - lo;
    for (double v : t.values)
        t.labels.append(PlotTickLabel(v, logarithmic ? v : step, separator));
    return t;
}

/// The categories whose places 1, 2, ... lie inside [lo, hi].
AxisTicks categoryTicks(const QStringList& names, double lo, double hi) {
    AxisTicks t;
    for (int i = 0; i < names.size(); ++i) {
        if (i + 1 < lo || i + 1 > hi) continue;
        t.values.append(i + 1);
        t.labels.append(names[i]);
    }
    return t;
}

AxisTicks xTicks(const TPlotScene& scene, const TPlotRange& view, double width,
                 const QFontMetricsF& fm) {
    if (!scene.x.categories.isEmpty())
        return categoryTicks(scene.x.categories, view.xMin, view.xMax);
    return ticksFor(view.xMin, view.xMax,
                    tickCountFor(width, fm.horizontalAdvance("-0.00000") * 1.3),
                    scene.decimalSeparator, scene.x.logarithmic);
}

AxisTicks yTicks(const TPlotScene& scene, const TPlotRange& view, double height,
                 const QFontMetricsF& fm) {
    if (!scene.y.categories.isEmpty())
        return categoryTicks(scene.y.categories, view.yMin, view.yMax);
    return ticksFor(view.yMin, view.yMax, tickCountFor(height, fm.height() * 2.2),
                    scene.decimalSeparator, scene.y.logarithmic);
}

QPointF clampPixel(QPointF p) {
    return {std::clamp(p.x(), -PixelLimit, PixelLimit), std::clamp(p.y(), -PixelLimit, PixelLimit)};
}

void drawSeries(const TPlotSeries& s, const TPlotMapper& map, QPainter& painter, double scale) {
    QPen pen(s.color, std::max(1.0, s.width * scale));
    switch (s.kind) {
    case PlotSeriesKind::Bar: {
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        const TPlotRange& r = map.range();
        const double base = map.logY() ? r.yMin : std::clamp(0.0, r.yMin, r.yMax);
        for (const QPointF& p : s.points) {
            if (!map.drawable(p)) continue;
            const QPointF foot = clampPixel(map.toPixel({p.x(), base}));
            const QPointF top = clampPixel(map.toPixel(p));
            // An empty bar is no line: a metafile would draw it as a dot with round caps.
            if (foot != top) painter.drawLine(foot, top);
        }
        break;
    }
    case PlotSeriesKind::HorizontalBar: {
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        const TPlotRange& r = map.range();
        const double base = map.logX() ? r.xMin : std::clamp(0.0, r.xMin, r.xMax);
        for (const QPointF& p : s.points)
            if (map.drawable(p))
                painter.drawLine(clampPixel(map.toPixel({base, p.y()})),
                                 clampPixel(map.toPixel(p)));
        break;
    }
    case PlotSeriesKind::Line: {
        painter.setPen(pen);
        QPolygonF line;
        line.reserve(s.points.size());
        for (const QPointF& p : s.points)
            if (map.drawable(p)) line.append(clampPixel(map.toPixel(p)));
        painter.drawPolyline(line);
        break;
    }
    case PlotSeriesKind::Points: {
        painter.setPen(Qt::NoPen);
        painter.setBrush(s.color);
        const double radius = (1.5 + s.width) * scale;
        for (const QPointF& p : s.points)
            if (map.drawable(p)) painter.drawEllipse(clampPixel(map.toPixel(p)), radius, radius);
        painter.setBrush(Qt::NoBrush);
        break;
    }
    }
}

} // namespace

TPlotMapper::TPlotMapper(const QRectF& area, const TPlotRange& range, bool logX, bool logY)
    : m_area(area), m_range(range), m_logX(logX), m_logY(logY) {
    widen(m_range.xMin, m_range.xMax, logX);
    widen(m_range.yMin, m_range.yMax, logY);
}

TPlotMapper::TPlotMapper(const QRectF& area, const TPlotRange& range, const TPlotScene& scene)
    : TPlotMapper(area, range, scene.x.logarithmic, scene.y.logarithmic) {}

namespace {

double scaled(double v, bool logarithmic) {
    return logarithmic ? std::log10(v) : v;
}

double unscaled(double v, bool logarithmic) {
    return logarithmic ? std::pow(10.0, v) : v;
}

double fraction(double v, double lo, double hi, bool logarithmic) {
    return (scaled(v, logarithmic) - scaled(lo, logarithmic)) /
           (scaled(hi, logarithmic) - scaled(lo, logarithmic));
}

double fromFraction(double f, double lo, double hi, bool logarithmic) {
    const double a = scaled(lo, logarithmic), b = scaled(hi, logarithmic);
    return unscaled(a + f * (b - a), logarithmic);
}

} // namespace

bool TPlotMapper::drawable(QPointF data) const {
    return (!m_logX || data.x() > 0) && (!m_logY || data.y() > 0);
}

QPointF TPlotMapper::toPixel(QPointF data) const {
    const double fx = fraction(data.x(), m_range.xMin, m_range.xMax, m_logX);
    const double fy = fraction(data.y(), m_range.yMin, m_range.yMax, m_logY);
    return {m_area.left() + fx * m_area.width(), m_area.bottom() - fy * m_area.height()};
}

QPointF TPlotMapper::toData(QPointF pixel) const {
    const double fx = (pixel.x() - m_area.left()) / m_area.width();
    const double fy = (m_area.bottom() - pixel.y()) / m_area.height();
    return {fromFraction(fx, m_range.xMin, m_range.xMax, m_logX),
            fromFraction(fy, m_range.yMin, m_range.yMax, m_logY)};
}

QRectF PlotArea(const TPlotScene& scene, const TPlotRange& view, const QRectF& target,
                const QFontMetricsF& fm) {
    const AxisTicks ys = yTicks(scene, view, target.height(), fm);
    double labelWidth = 0;
    for (const QString& label : ys.labels)
        labelWidth = std::max(labelWidth, fm.horizontalAdvance(label));
    const AxisTicks xs = xTicks(scene, view, target.width(), fm);
    const double lastHalf = xs.labels.isEmpty() ? 0 : fm.horizontalAdvance(xs.labels.last()) / 2;

    double left = labelWidth + TickLength + 2 * Gap;
    if (!scene.y.title.isEmpty()) left += fm.height() + Gap;
    double bottom = fm.height() + TickLength + 2 * Gap;
    if (!scene.x.title.isEmpty()) bottom += fm.height() + Gap;
    double top = fm.height() / 2 + Gap;
    if (!scene.title.isEmpty()) top += fm.height() + Gap;
    const double right = std::max(lastHalf, fm.height() / 2) + Gap;

    QRectF area = target.adjusted(left, top, -right, -bottom);
    if (area.width() < 1) area.setWidth(1);
    if (area.height() < 1) area.setHeight(1);
    return area;
}

void RenderPlot(const TPlotScene& scene, const TPlotRange& view, QPainter& painter,
                const QRect& target) {
    painter.save();
    const double scale =
        painter.device() ? std::max(1.0, painter.device()->logicalDpiX() / 96.0) : 1.0;
    const QFontMetricsF fm(painter.font(), painter.device());
    const QRectF area = PlotArea(scene, view, QRectF(target), fm);
    const TPlotMapper map(area, view, scene);

    painter.fillRect(target, scene.background);

    painter.save();
    painter.setClipRect(area.adjusted(-1, -1, 1, 1));
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const TPlotSeries& s : scene.series)
        if (s.visible) drawSeries(s, map, painter, scale);
    for (const TPlotMarker& m : scene.markers) {
        if (!m.visible) continue;
        painter.setPen(QPen(m.color, std::max(1.0, m.width * scale)));
        if (m.orientation == Qt::Vertical) {
            const double x = map.toPixel({m.value, 0}).x();
            painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        } else {
            const double y = map.toPixel({0, m.value}).y();
            painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        }
    }
    painter.restore();

    const QPen axisPen(scene.axisColor, scale);
    painter.setPen(axisPen);
    painter.drawRect(area);

    const AxisTicks xs = xTicks(scene, view, area.width(), fm);
    for (int i = 0; i < xs.values.size(); ++i) {
        const double x = map.toPixel({xs.values[i], 0}).x();
        painter.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + TickLength));
        const double w = fm.horizontalAdvance(xs.labels[i]);
        painter.drawText(QPointF(x - w / 2, area.bottom() + TickLength + Gap + fm.ascent()),
                         xs.labels[i]);
    }
    const AxisTicks ys = yTicks(scene, view, area.height(), fm);
    for (int i = 0; i < ys.values.size(); ++i) {
        const double y = map.toPixel({0, ys.values[i]}).y();
        painter.drawLine(QPointF(area.left() - TickLength, y), QPointF(area.left(), y));
        const double w = fm.horizontalAdvance(ys.labels[i]);
        painter.drawText(
            QPointF(area.left() - TickLength - Gap - w, y + fm.ascent() / 2 - fm.descent() / 2),
            ys.labels[i]);
    }

    if (!scene.x.title.isEmpty()) {
        const double w = fm.horizontalAdvance(scene.x.title);
        painter.drawText(QPointF(area.center().x() - w / 2, target.bottom() - fm.descent() - Gap),
                         scene.x.title);
    }
    if (!scene.y.title.isEmpty()) {
        painter.save();
        const double w = fm.horizontalAdvance(scene.y.title);
        painter.translate(target.left() + Gap + fm.ascent(), area.center().y() + w / 2);
        painter.rotate(-90);
        painter.drawText(QPointF(0, 0), scene.y.title);
        painter.restore();
    }
    if (!scene.title.isEmpty()) {
        const double w = fm.horizontalAdvance(scene.title);
        painter.drawText(QPointF(area.center().x() - w / 2, target.top() + Gap + fm.ascent()),
                         scene.title);
    }
    painter.restore();
}

} // namespace probex
