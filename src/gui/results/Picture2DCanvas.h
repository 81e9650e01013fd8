#pragma once

#include "results/Objects2D.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace probex {

/// The picture of a 2D window: the 256 x 256 drawing area inside a one-pixel frame, with the
/// overlay objects drawn over it since the picture was last cleared. It fills the space it
/// has, scaled without smoothing, and the objects are scaled alike.
class Picture2DCanvas : public QWidget {
    Q_OBJECT

public:
    explicit Picture2DCanvas(QWidget* parent = nullptr);

    /// Background everywhere, no objects.
    void clear();
    /// The drawing area from 256 x 256 pixels (0xFFRRGGBB, row 0 at the top).
    void setPixels(const std::uint32_t* pixels);
    void addLine(const PictureSegment& segment, QColor color);
    void addEllipse(const PictureBox& box, QColor color, bool filled);
    int overlayCount() const { return static_cast<int>(m_overlay.size()); }

    /// The picture and its objects at `scale` times 258 pixels.
    QImage render(double scale = 1) const;
    /// The pixel factor the picture is shown with.
    double displayScale() const;
    /// The drawing-area pixel (column, row from the top) under a widget position.
    std::optional<QPoint> pixelAt(QPoint position) const;

    QSize sizeHint() const override;

signals:
    /// The mouse is over drawing-area pixel `pixel`, or left it (nullopt).
    void hovered(std::optional<QPoint> pixel);
    void popupRequested(QPoint globalPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct Overlay {
        std::variant<PictureSegment, PictureBox> shape;
        QColor color;
        bool filled = false;
    };

    void paintPicture(QPainter& painter, double scale) const;
    QPointF origin() const;

    QImage m_image;
    std::vector<Overlay> m_overlay;
};

} // namespace probex
