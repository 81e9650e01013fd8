#pragma once

#include "components/WmfWriter.h"

#include <QPaintDevice>
#include <QSize>
#include <QString>

#include <memory>

namespace probex {

class WmfPaintEngine;

/// A paint device that records what a QPainter draws as a Windows metafile, so the drawing
/// code of the screen, bitmaps and printers also writes `.wmf` files. Lines, rectangles,
/// ellipses, polygons, paths and pictures are kept as metafile records, text as text.
class TWmfPaintDevice : public QPaintDevice {
public:
    explicit TWmfPaintDevice(QSize size);
    ~TWmfPaintDevice() override;
    TWmfPaintDevice(const TWmfPaintDevice&) = delete;
    TWmfPaintDevice& operator=(const TWmfPaintDevice&) = delete;

    QPaintEngine* paintEngine() const override;

    /// The metafile drawn so far (paint with a QPainter first, and end it).
    std::vector<std::uint8_t> bytes() const { return m_writer.bytes(); }
    /// Writes the metafile; on failure returns false with the system's message in `error`.
    bool save(const QString& path, QString* error = nullptr) const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize m_size;
    TWmfWriter m_writer;
    std::unique_ptr<WmfPaintEngine> m_engine;
};

} // namespace probex
