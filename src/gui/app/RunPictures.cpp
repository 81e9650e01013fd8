#include "gui/app/RunPictures.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

#include <functional>

namespace probex {

namespace {

QIcon Draw(const std::function<void(QPainter&, int)>& paint) {
    QIcon icon;
    for (const int size : {16, 24, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 1));
        paint(painter, size);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

QIcon RunPicture() {
    return Draw([](QPainter& painter, int size) {
        const qreal m = size * 0.2;
        painter.setBrush(QColor(0, 160, 0));
        painter.drawPolygon(
            QPolygonF({QPointF(m, m), QPointF(size - m, size / 2.0), QPointF(m, size - m)}));
    });
}

QIcon StopPicture() {
    return Draw([](QPainter& painter, int size) {
        const qreal m = size * 0.22;
        painter.setBrush(QColor(200, 0, 0));
        painter.drawRect(QRectF(m, m, size - 2 * m, size - 2 * m));
    });
}

} // namespace probex
