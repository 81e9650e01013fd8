#include "gui/results/Picture2DCanvas.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace probex {

namespace {

constexpr QRgb Background = 0xFFFFFFFF;
constexpr QRgb Frame = 0xFF000000;

} // namespace

Picture2DCanvas::Picture2DCanvas(QWidget* parent)
    : QWidget(parent), m_image(PictureImageSide, PictureImageSide, QImage::Format_RGB32) {
    setMouseTracking(true);
    setMinimumSize(PictureImageSide, PictureImageSide);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    clear();
}

QSize Picture2DCanvas::sizeHint() const {
    return {PictureImageSide, PictureImageSide};
}

void Picture2DCanvas::clear() {
    m_image.fill(Background);
    for (int k = 0; k < PictureImageSide; ++k) {
        m_image.setPixel(k, 0, Frame);
        m_image.setPixel(k, PictureImageSide - 1, Frame);
        m_image.setPixel(0, k, Frame);
        m_image.setPixel(PictureImageSide - 1, k, Frame);
    }
    m_overlay.clear();
    update();
}

void Picture2DCanvas::setPixels(const std::uint32_t* pixels) {
    for (int row = 0; row < PictureSide; ++row) {
        auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(row + 1)) + 1;
        std::copy_n(pixels + row * PictureSide, PictureSide, line);
    }
    update();
}

void Picture2DCanvas::addLine(const PictureSegment& segment, QColor color) {
    m_overlay.push_back({segment, color, false});
    update();
}

void Picture2DCanvas::addEllipse(const PictureBox& box, QColor color, bool filled) {
    m_overlay.push_back({box, color, filled});
    update();
}

double Picture2DCanvas::displayScale() const {
    const double side = std::min(width(), height());
    return std::max(1.0, side / PictureImageSide);
}

QPointF Picture2DCanvas::origin() const {
    const double side = displayScale() * PictureImageSide;
    return {std::max(0.0, (width() - side) / 2), std::max(0.0, (height() - side) / 2)};
}

void Picture2DCanvas::paintPicture(QPainter& painter, double scale) const {
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRectF(0, 0, scale * PictureImageSide, scale * PictureImageSide), m_image);
    // Object coordinates name drawing-area pixels: frame offset plus the pixel's centre, so
    // an object lies on the points it marks.
    painter.scale(scale, scale);
    painter.translate(1.5, 1.5);
    for (const Overlay& item : m_overlay) {
        painter.setPen(QPen(item.color, 1));
        painter.setBrush(item.filled ? QBrush(item.color) : Qt::NoBrush);
        if (const auto* segment = std::get_if<PictureSegment>(&item.shape)) {
            painter.drawLine(QLineF(segment->x1, segment->y1, segment->x2, segment->y2));
            continue;
        }
        const PictureBox& box = std::get<PictureBox>(item.shape);
        painter.drawEllipse(QRectF(box.left, box.top, box.right - box.left, box.bottom - box.top));
    }
    painter.restore();
}

QImage Picture2DCanvas::render(double scale) const {
    const int side = static_cast<int>(std::lround(scale * PictureImageSide));
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Background);
    QPainter painter(&image);
    paintPicture(painter, scale);
    return image;
}

std::optional<QPoint> Picture2DCanvas::pixelAt(QPoint position) const {
    const double scale = displayScale();
    const QPointF local = (QPointF(position) - origin()) / scale;
    const int column = static_cast<int>(std::floor(local.x())) - 1;
    const int row = static_cast<int>(std::floor(local.y())) - 1;
    if (column < 0 || row < 0 || column >= PictureSide || row >= PictureSide) return std::nullopt;
    return QPoint(column, row);
}

void Picture2DCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.translate(origin());
    paintPicture(painter, displayScale());
}

void Picture2DCanvas::mouseMoveEvent(QMouseEvent* event) {
    emit hovered(pixelAt(event->position().toPoint()));
}

void Picture2DCanvas::leaveEvent(QEvent*) {
    emit hovered(std::nullopt);
}

void Picture2DCanvas::contextMenuEvent(QContextMenuEvent* event) {
    emit popupRequested(event->globalPos());
}

} // namespace probex
