#include "gui/app/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <functional>

namespace probex {

namespace {

using Paint = std::function<void(QPainter&)>;

/// Draws on a 16 by 16 grid, scaled to each size.
QIcon Draw(const Paint& paint) {
    QIcon icon;
    for (const int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        painter.setPen(QPen(QColor(40, 40, 40), 1.0));
        paint(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void Page(QPainter& p, qreal x, qreal y, qreal w, qreal h) {
    const qreal fold = w * 0.35;
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(x, y), QPointF(x + w - fold, y), QPointF(x + w, y + fold),
                             QPointF(x + w, y + h), QPointF(x, y + h)}));
    p.drawPolyline(QPolygonF(
        {QPointF(x + w - fold, y), QPointF(x + w - fold, y + fold), QPointF(x + w, y + fold)}));
}

const Paint Pictures[] = {
    // New
    [](QPainter& p) { Page(p, 3.5, 1.5, 9, 13); },
    // Open: a folder
    [](QPainter& p) {
        p.setBrush(QColor(230, 190, 80));
        p.drawPolygon(QPolygonF({QPointF(1.5, 3.5), QPointF(6, 3.5), QPointF(7.5, 5),
                                 QPointF(14.5, 5), QPointF(14.5, 13.5), QPointF(1.5, 13.5)}));
        p.setBrush(QColor(250, 215, 110));
        p.drawPolygon(QPolygonF(
            {QPointF(1.5, 13.5), QPointF(4, 7.5), QPointF(15.5, 7.5), QPointF(14.5, 13.5)}));
    },
    // Save: a diskette
    [](QPainter& p) {
        p.setBrush(QColor(60, 100, 180));
        p.drawRect(QRectF(2.5, 2.5, 11, 11));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 2.5, 7, 4));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(5, 9.5, 6, 4));
    },
    // Print: a printer with a page
    [](QPainter& p) {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(150, 150, 150));
        p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
    },
    // Cut: scissors
    [](QPainter& p) {
        p.drawLine(QPointF(4, 2), QPointF(10.5, 11));
        p.drawLine(QPointF(12, 2), QPointF(5.5, 11));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(180, 30, 30), 1.3));
        p.drawEllipse(QPointF(4.5, 12.5), 2.2, 2.2);
        p.drawEllipse(QPointF(11.5, 12.5), 2.2, 2.2);
    },
    // Copy: two pages
    [](QPainter& p) {
        Page(p, 1.5, 1.5, 8, 10);
        Page(p, 6.5, 4.5, 8, 10);
    },
    // Paste: a clipboard with a page
    [](QPainter& p) {
        p.setBrush(QColor(180, 130, 70));
        p.drawRoundedRect(QRectF(2.5, 2.5, 10, 12), 1, 1);
        p.setBrush(QColor(120, 120, 120));
        p.drawRect(QRectF(5, 1.5, 5, 2.5));
        Page(p, 7.5, 6.5, 7, 8.5);
    },
    // Reset: a circling arrow
    [](QPainter& p) {
        p.setPen(QPen(QColor(30, 90, 180), 2.0, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3, 3, 10, 10), 100 * 16, 280 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 90, 180));
        p.drawPolygon(QPolygonF({QPointF(6.5, 0.5), QPointF(10.5, 3), QPointF(6.5, 5.5)}));
    },
};

const char* const ThemeNames[] = {"document-new",   "document-open", "document-save",
                                  "document-print", "edit-cut",      "edit-copy",
                                  "edit-paste",     "view-refresh"};

} // namespace

QIcon ToolbarIcon(ToolbarPicture picture) {
    const auto index = static_cast<std::size_t>(picture);
    return QIcon::fromTheme(QLatin1String(ThemeNames[index]), Draw(Pictures[index]));
}

QIcon ProgramIcon() {
    // The bell curve over bars of a histogram, as in the installed icon.
    return Draw([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 90, 160));
        p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
        p.setBrush(QColor(120, 200, 255));
        const qreal heights[] = {2, 5, 9, 5, 2};
        for (int i = 0; i < 5; ++i)
            p.drawRect(QRectF(2.5 + 2.2 * i, 13 - heights[i], 1.8, heights[i]));
        QPainterPath bell;
        bell.moveTo(1.5, 13);
        bell.cubicTo(6, 13, 6, 2.5, 8, 2.5);
        bell.cubicTo(10, 2.5, 10, 13, 14.5, 13);
        p.setPen(QPen(QColor(255, 210, 60), 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawPath(bell);
    });
}

} // namespace probex
