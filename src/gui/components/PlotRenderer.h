#pragma once

#include "gui/components/PlotScene.h"

#include <QPointF>
#include <QRectF>

class QFontMetricsF;
class QPainter;
class QRect;

namespace probex {

/// Maps between data coordinates and device pixels of one plot area.
class TPlotMapper {
public:
    /// A logarithmic axis maps log10 of the value; its range is made positive.
    TPlotMapper(const QRectF& area, const TPlotRange& range, bool logX = false, bool logY = false);
    /// The mapper of a scene's axes.
    TPlotMapper(const QRectF& area, const TPlotRange& range, const TPlotScene& scene);

    const QRectF& area() const { return m_area; }
    const TPlotRange& range() const { return m_range; }
    QPointF toPixel(QPointF data) const;
    QPointF toData(QPointF pixel) const;
    /// False for a point at or below zero on a logarithmic axis.
    bool drawable(QPointF data) const;
    bool logX() const { return m_logX; }
    bool logY() const { return m_logY; }

private:
    QRectF m_area;
    TPlotRange m_range; ///< never of zero width or height
    bool m_logX = false;
    bool m_logY = false;
};

/// The rectangle inside `target` left for the data once the tick labels and titles have room.
QRectF PlotArea(const TPlotScene& scene, const TPlotRange& view, const QRectF& target,
                const QFontMetricsF& metrics);

/// Draws the scene into `target` on any paint device (widget, image, PDF, printer), showing
/// the data range `view`.
void RenderPlot(const TPlotScene& scene, const TPlotRange& view, QPainter& painter,
                const QRect& target);

} // namespace probex
