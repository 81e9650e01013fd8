#include "gui/components/PlotPicture.h"

#include "gui/components/Plot.h"
#include "settings/IniFile.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

#include <algorithm>
#include <string_view>

namespace probex {

namespace {

QSize ShownSize(const TPlot& plot) {
    return plot.size().expandedTo(plot.minimumSizeHint());
}

/// Draws the plot at its shown size into a painter whose device is `scale` times larger.
void PaintScaled(const TPlot& plot, QPainter& painter, int scale) {
    const QRect shown(QPoint(0, 0), ShownSize(plot));
    painter.scale(scale, scale);
    painter.setFont(plot.font());
    painter.fillRect(shown, plot.scene().background);
    plot.render(painter, shown);
}

} // namespace

QImage PlotPicture(const TPlot& plot, int scale) {
    scale = std::max(scale, 1);
    QImage image(ShownSize(plot) * scale, QImage::Format_RGB32);
    image.fill(plot.scene().background);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    PaintScaled(plot, painter, scale);
    return image;
}

QByteArray PlotPictureData(const TPlot& plot, PlotPictureFormat format, int scale) {
    scale = std::max(scale, 1);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (format == PlotPictureFormat::Png) {
        PlotPicture(plot, scale).save(&buffer, "PNG");
        return data;
    }
    const QSize size = ShownSize(plot) * scale;
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    // Text keeps the proportions it has on the screen and in the PNG.
    svg.setResolution(QImage(1, 1, QImage::Format_RGB32).logicalDpiX());
    svg.setTitle(plot.scene().title);
    {
        QPainter painter(&svg);
        PaintScaled(plot, painter, scale);
    }
    return data;
}

QString WritePlotPicture(const TPlot& plot, const QString& path, PlotPictureFormat format,
                         int scale) {
    const QByteArray data = PlotPictureData(plot, format, scale);
    if (data.isEmpty()) return QStringLiteral("Cannot draw the picture for ") + path;
    const std::string error = WriteFileAtomically(
        path.toStdString(),
        std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
    return QString::fromStdString(error);
}

} // namespace probex
