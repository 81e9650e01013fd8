#pragma once

#include "gui/components/PlotPicture.h"
#include "gui/components/PlotScene.h"

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <optional>

class QMenu;

namespace probex {

class Prompter;

/// The XY plot every graph of the program uses: axes with tick labels, bar, line and point
/// series, marker lines and rubber-band zoom. Dragging to the lower right zooms into the
/// dragged rectangle; dragging to the upper left (or resetZoom) shows the full range again.
/// Its pop-up menu copies the picture to the clipboard and exports it as PNG or SVG, at the
/// size shown or larger; actions an owner adds to the plot (addAction) head that menu.
class TPlot : public QWidget {
    Q_OBJECT

public:
    explicit TPlot(QWidget* parent = nullptr);

    /// The drawn content; call replot() after changing it.
    TPlotScene& scene() { return m_scene; }
    const TPlotScene& scene() const { return m_scene; }
    void replot();

    /// Appends a series and returns its index.
    int addSeries(PlotSeriesKind kind, const QColor& color, int width = 1,
                  const QString& name = {});
    TPlotSeries& series(int index) { return m_scene.series[index]; }
    const TPlotSeries& series(int index) const { return m_scene.series[index]; }
    int seriesCount() const { return static_cast<int>(m_scene.series.size()); }

    /// Appends a marker line and returns its index.
    int addMarker(Qt::Orientation orientation, double value, const QColor& color, int width = 1);
    TPlotMarker& marker(int index) { return m_scene.markers[index]; }

    /// Fixed axis ranges; a reversed pair is put in order.
    void setXRange(double min, double max);
    void setYRange(double min, double max);
    void setAutoRange(bool x, bool y);

    /// The whole range of the axes, and the part shown (smaller while zoomed).
    TPlotRange fullRange() const { return m_scene.fullRange(); }
    TPlotRange visibleRange() const;
    bool isZoomed() const { return m_zoom.has_value(); }
    void zoomTo(const TPlotRange& range);
    void resetZoom();

    /// Draws what the widget shows (its visible range) into any painter.
    void render(QPainter& painter, const QRect& target) const;
    /// The plot drawn into an image of the given size (the widget's size when empty).
    QImage toImage(QSize size = {}) const;

    /// Where the export commands ask for a file name and report a failed write; message boxes
    /// of the plot's own when none is set.
    void setPrompter(Prompter* prompter) { m_prompter = prompter; }
    /// The enlargement the copy and export commands use, one of PlotPictureScales.
    int pictureScale() const { return m_pictureScale; }
    void setPictureScale(int scale);
    /// Puts the picture on the clipboard.
    void copyPicture() const;
    /// Asks for a file name and writes the picture there; false when cancelled or failed.
    bool exportPicture(PlotPictureFormat format);
    /// The pop-up menu as a right click shows it; the caller owns it.
    QMenu* createPopupMenu(QWidget* parent);
    /// Appends the copy, export and picture size commands to an owner's own pop-up menu.
    void addPictureCommands(QMenu* menu);

    /// Data coordinates of a widget pixel.
    QPointF toData(QPoint pixel) const;
    QPoint toPixel(QPointF data) const;

    QSize sizeHint() const override { return {400, 240}; }
    QSize minimumSizeHint() const override { return {120, 80}; }

signals:
    void zoomChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRectF dataArea() const;

    TPlotScene m_scene;
    std::optional<TPlotRange> m_zoom;
    std::optional<QPoint> m_dragStart;
    QPoint m_dragEnd;
    Prompter* m_prompter = nullptr;
    int m_pictureScale = 1;
};

} // namespace probex
