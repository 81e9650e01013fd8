#pragma once

#include <QWidget>

class QLabel;

namespace probex {

class Picture2DCanvas;

/// The picture of a 2D window with its range labels: the largest square the area holds, the
/// vertical range to its left (maximum at the top, minimum at the bottom) and the horizontal
/// range under it (minimum left, maximum right). The labels stay at the picture's edges
/// whatever the area's size, and the area asks for the room its labels' texts need.
class Picture2DArea : public QWidget {
    Q_OBJECT

public:
    Picture2DArea(Picture2DCanvas* canvas, QLabel* xMin, QLabel* xMax, QLabel* yMin, QLabel* yMax,
                  QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    /// Where the picture is, in the area's coordinates.
    QRect pictureRect() const;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int labelColumnWidth() const;
    int labelRowHeight() const;
    int minimumSide() const;
    void placeChildren();

    Picture2DCanvas* m_canvas;
    QLabel* m_xMin;
    QLabel* m_xMax;
    QLabel* m_yMin;
    QLabel* m_yMax;
};

} // namespace probex
