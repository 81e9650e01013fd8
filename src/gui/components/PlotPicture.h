#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <array>

namespace probex {

class TPlot;

/// The picture formats a plot is exported in.
enum class PlotPictureFormat { Png, Svg };

/// The enlargements the copy and export commands offer: the size shown, and larger.
inline constexpr std::array<int, 3> PlotPictureScales{1, 2, 4};

/// The plot as shown (its visible range at its current size) drawn `scale` times larger:
/// lines, text and margins grow alike, so the picture looks the same with more pixels.
QImage PlotPicture(const TPlot& plot, int scale);

/// The same picture as PNG or SVG file contents.
QByteArray PlotPictureData(const TPlot& plot, PlotPictureFormat format, int scale);

/// Writes the picture to `path`, replacing the file whole or not at all. The error text with
/// the system's message, empty on success.
QString WritePlotPicture(const TPlot& plot, const QString& path, PlotPictureFormat format,
                         int scale);

} // namespace probex
