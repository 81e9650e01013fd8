#include "gui/components/Plot.h"

#include "gui/components/PlotRenderer.h"
#include "gui/components/QtPrompter.h"

#include <QActionGroup>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace probex {

namespace {

// A drag shorter than this is a click, not a zoom request.
constexpr int MinDrag = 4;

void order(double& lo, double& hi) {
    if (hi < lo) std::swap(lo, hi);
}

Prompter::FileRequest PictureRequest(PlotPictureFormat format) {
    Prompter::FileRequest request;
    request.save = true;
    if (format == PlotPictureFormat::Png) {
        request.title = "Export graph as PNG";
        request.filter = "PNG picture|*.png";
        request.defaultExtension = "png";
    } else {
        request.title = "Export graph as SVG";
        request.filter = "SVG picture|*.svg";
        request.defaultExtension = "svg";
    }
    request.fileName = "graph." + request.defaultExtension;
    return request;
}

} // namespace

TPlot::TPlot(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
}

void TPlot::replot() {
    update();
}

int TPlot::addSeries(PlotSeriesKind kind, const QColor& color, int width, const QString& name) {
    TPlotSeries s;
    s.kind = kind;
    s.color = color;
    s.width = width;
    s.name = name;
    m_scene.series.append(s);
    update();
    return seriesCount() - 1;
}

int TPlot::addMarker(Qt::Orientation orientation, double value, const QColor& color, int width) {
    m_scene.markers.append({orientation, value, color, width, true});
    update();
    return static_cast<int>(m_scene.markers.size()) - 1;
}

void TPlot::setXRange(double min, double max) {
    order(min, max);
    m_scene.x.min = min;
    m_scene.x.max = max;
    m_scene.x.automatic = false;
    update();
}

void TPlot::setYRange(double min, double max) {
    order(min, max);
    m_scene.y.min = min;
    m_scene.y.max = max;
    m_scene.y.automatic = false;
    update();
}

void TPlot::setAutoRange(bool x, bool y) {
    m_scene.x.automatic = x;
    m_scene.y.automatic = y;
    update();
}

TPlotRange TPlot::visibleRange() const {
    return m_zoom ? *m_zoom : fullRange();
}

void TPlot::zoomTo(const TPlotRange& range) {
    TPlotRange r = range;
    order(r.xMin, r.xMax);
    order(r.yMin, r.yMax);
    if (!(r.xMax > r.xMin) || !(r.yMax > r.yMin)) return;
    m_zoom = r;
    update();
    emit zoomChanged();
}

void TPlot::resetZoom() {
    if (!m_zoom) return;
    m_zoom.reset();
    update();
    emit zoomChanged();
}

void TPlot::render(QPainter& painter, const QRect& target) const {
    RenderPlot(m_scene, visibleRange(), painter, target);
}

QImage TPlot::toImage(QSize size) const {
    if (size.isEmpty()) size = this->size();
    QImage image(size, QImage::Format_RGB32);
    image.fill(m_scene.background);
    QPainter painter(&image);
    painter.setFont(font());
    render(painter, image.rect());
    return image;
}

void TPlot::setPictureScale(int scale) {
    if (std::find(PlotPictureScales.begin(), PlotPictureScales.end(), scale) !=
        PlotPictureScales.end())
        m_pictureScale = scale;
}

void TPlot::copyPicture() const {
    QGuiApplication::clipboard()->setImage(PlotPicture(*this, m_pictureScale));
}

bool TPlot::exportPicture(PlotPictureFormat format) {
    QtPrompter ownBoxes(this);
    Prompter& prompter = m_prompter ? *m_prompter : ownBoxes;
    const std::optional<std::string> path = prompter.chooseFile(PictureRequest(format));
    if (!path || path->empty()) return false;
    const QString error =
        WritePlotPicture(*this, QString::fromStdString(*path), format, m_pictureScale);
    if (error.isEmpty()) return true;
    prompter.error(error.toStdString());
    return false;
}

QMenu* TPlot::createPopupMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("PopPlot"));
    if (!actions().isEmpty()) {
        menu->addActions(actions());
        menu->addSeparator();
    }
    addPictureCommands(menu);
    return menu;
}

void TPlot::addPictureCommands(QMenu* menu) {
    QAction* copy = menu->addAction(QStringLiteral("&Copy picture"));
    copy->setObjectName(QStringLiteral("ItmCopyPicture"));
    connect(copy, &QAction::triggered, this, [this] { copyPicture(); });
    QAction* png = menu->addAction(QStringLiteral("Export as P&NG..."));
    png->setObjectName(QStringLiteral("ItmExportPng"));
    connect(png, &QAction::triggered, this, [this] { exportPicture(PlotPictureFormat::Png); });
    QAction* svg = menu->addAction(QStringLiteral("Export as &SVG..."));
    svg->setObjectName(QStringLiteral("ItmExportSvg"));
    connect(svg, &QAction::triggered, this, [this] { exportPicture(PlotPictureFormat::Svg); });

    QMenu* sizes = menu->addMenu(QStringLiteral("Picture si&ze"));
    sizes->setObjectName(QStringLiteral("BarPictureSize"));
    auto* group = new QActionGroup(sizes);
    for (const int scale : PlotPictureScales) {
        QAction* item = sizes->addAction(QString());
        item->setObjectName(QStringLiteral("ItmPictureScale%1").arg(scale));
        item->setCheckable(true);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, scale] { setPictureScale(scale); });
    }
    // The sizes offered follow the plot's size when the menu opens.
    const auto describe = [this, sizes] {
        const QList<QAction*> items = sizes->actions();
        for (std::size_t i = 0; i < PlotPictureScales.size(); ++i) {
            const int scale = PlotPictureScales[i];
            const QString dimensions =
                QStringLiteral("(%1 x %2)").arg(width() * scale).arg(height() * scale);
            QAction* item = items[static_cast<int>(i)];
            item->setText(scale == 1 ? QStringLiteral("As shown ") + dimensions
                                     : QStringLiteral("%1 times ").arg(scale) + dimensions);
            item->setChecked(scale == m_pictureScale);
        }
    };
    describe();
    connect(menu, &QMenu::aboutToShow, sizes, describe);
}

void TPlot::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createPopupMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

bool TPlot::event(QEvent* event) {
    // An owner that asked for a menu of its actions gets them with the picture commands.
    if (event->type() == QEvent::ContextMenu && contextMenuPolicy() == Qt::ActionsContextMenu) {
        contextMenuEvent(static_cast<QContextMenuEvent*>(event));
        return true;
    }
    return QWidget::event(event);
}

QRectF TPlot::dataArea() const {
    return PlotArea(m_scene, visibleRange(), QRectF(rect()), QFontMetricsF(font(), this));
}

QPointF TPlot::toData(QPoint pixel) const {
    return TPlotMapper(dataArea(), visibleRange(), m_scene).toData(QPointF(pixel));
}

QPoint TPlot::toPixel(QPointF data) const {
    return TPlotMapper(dataArea(), visibleRange(), m_scene).toPixel(data).toPoint();
}

void TPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    render(painter, rect());
    if (m_dragStart) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.drawRect(QRect(*m_dragStart, m_dragEnd).normalized());
    }
}

void TPlot::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragStart = event->position().toPoint();
    m_dragEnd = *m_dragStart;
}

void TPlot::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragStart) return;
    m_dragEnd = event->position().toPoint();
    update();
}

void TPlot::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_dragStart || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const QPoint start = *m_dragStart;
    const QPoint end = event->position().toPoint();
    m_dragStart.reset();
    update();
    const QPoint delta = end - start;
    if (std::abs(delta.x()) < MinDrag && std::abs(delta.y()) < MinDrag) return;
    // The usual chart convention: a drag toward the upper left undoes the zoom.
    if (delta.x() < 0 || delta.y() < 0) {
        resetZoom();
        return;
    }
    const QRectF area = dataArea();
    const QPointF a(std::clamp<double>(start.x(), area.left(), area.right()),
                    std::clamp<double>(start.y(), area.top(), area.bottom()));
    const QPointF b(std::clamp<double>(end.x(), area.left(), area.right()),
                    std::clamp<double>(end.y(), area.top(), area.bottom()));
    const TPlotMapper map(area, visibleRange(), m_scene);
    const QPointF da = map.toData(a);
    const QPointF db = map.toData(b);
    zoomTo({da.x(), db.x(), db.y(), da.y()});
}

} // namespace probex
