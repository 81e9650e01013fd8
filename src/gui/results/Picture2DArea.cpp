#include "gui/results/Picture2DArea.h"

#include "gui/results/Picture2DCanvas.h"
#include "results/Picture2D.h"

#include <QEvent>
#include <QLabel>

#include <algorithm>

namespace probex {

namespace {

/// Between the labels and the picture.
constexpr int Gap = 4;

} // namespace

Picture2DArea::Picture2DArea(Picture2DCanvas* canvas, QLabel* xMin, QLabel* xMax, QLabel* yMin,
                             QLabel* yMax, QWidget* parent)
    : QWidget(parent), m_canvas(canvas), m_xMin(xMin), m_xMax(xMax), m_yMin(yMin), m_yMax(yMax) {
    for (QWidget* child :
         {static_cast<QWidget*>(canvas), static_cast<QWidget*>(xMin), static_cast<QWidget*>(xMax),
          static_cast<QWidget*>(yMin), static_cast<QWidget*>(yMax)})
        child->setParent(this);
    m_yMax->setAlignment(Qt::AlignRight | Qt::AlignTop);
    m_yMin->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    m_xMin->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_xMax->setAlignment(Qt::AlignRight | Qt::AlignTop);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

int Picture2DArea::labelColumnWidth() const {
    // Room for the usual ranges from the start, so the first picture does not move the window.
    const int usual = fontMetrics().horizontalAdvance(QStringLiteral("-0000.00000000"));
    return std::max({usual, m_yMin->sizeHint().width(), m_yMax->sizeHint().width()});
}

int Picture2DArea::labelRowHeight() const {
    return std::max(
        {fontMetrics().height(), m_xMin->sizeHint().height(), m_xMax->sizeHint().height()});
}

int Picture2DArea::minimumSide() const {
    return std::max(PictureImageSide,
                    m_xMin->sizeHint().width() + Gap + m_xMax->sizeHint().width());
}

QSize Picture2DArea::minimumSizeHint() const {
    return {labelColumnWidth() + Gap + minimumSide(), minimumSide() + labelRowHeight()};
}

QSize Picture2DArea::sizeHint() const {
    return minimumSizeHint();
}

QRect Picture2DArea::pictureRect() const {
    const int column = labelColumnWidth() + Gap;
    const int row = labelRowHeight();
    const int side = std::max(minimumSide(), std::min(width() - column, height() - row));
    // The picture with its labels in the middle of the area.
    const int left = std::max(0, (width() - column - side) / 2) + column;
    const int top = std::max(0, (height() - row - side) / 2);
    return {left, top, side, side};
}

void Picture2DArea::placeChildren() {
    const QRect picture = pictureRect();
    const int column = labelColumnWidth();
    const int row = labelRowHeight();
    const int labelsLeft = picture.left() - Gap - column;
    m_canvas->setGeometry(picture);
    m_yMax->setGeometry(labelsLeft, picture.top(), column, row);
    m_yMin->setGeometry(labelsLeft, picture.bottom() + 1 - row, column, row);
    const int xMinWidth = m_xMin->sizeHint().width();
    const int xMaxWidth = m_xMax->sizeHint().width();
    m_xMin->setGeometry(picture.left(), picture.bottom() + 1, xMinWidth, row);
    m_xMax->setGeometry(picture.right() + 1 - xMaxWidth, picture.bottom() + 1, xMaxWidth, row);
}

bool Picture2DArea::event(QEvent* event) {
    // A label's text changed: the room asked for may have too.
    if (event->type() == QEvent::LayoutRequest) {
        updateGeometry();
        placeChildren();
        return true;
    }
    return QWidget::event(event);
}

void Picture2DArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeChildren();
}

} // namespace probex
