#include "gui/components/WmfPaintDevice.h"

#include "settings/IniFile.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>
#include <QTransform>

#include <cmath>

namespace probex {

namespace {

constexpr int Dpi = 96;

WmfColor ToWmf(const QColor& color) {
    const QRgb rgb = color.rgb();
    return WmfRgb(static_cast<std::uint8_t>(qRed(rgb)), static_cast<std::uint8_t>(qGreen(rgb)),
                  static_cast<std::uint8_t>(qBlue(rgb)));
}

TWmfWriter::PenStyle ToWmf(Qt::PenStyle style) {
    switch (style) {
    case Qt::NoPen:
        return TWmfWriter::PenStyle::Null;
    case Qt::DashLine:
        return TWmfWriter::PenStyle::Dash;
    case Qt::DotLine:
        return TWmfWriter::PenStyle::Dot;
    case Qt::DashDotLine:
        return TWmfWriter::PenStyle::DashDot;
    default:
        return TWmfWriter::PenStyle::Solid;
    }
}

WmfPoint ToWmf(QPointF p) {
    return {static_cast<std::int32_t>(std::lround(p.x())),
            static_cast<std::int32_t>(std::lround(p.y()))};
}

} // namespace

/// Turns the painter's calls into metafile records. It takes every transformation itself
/// (so text stays text and keeps its turn) and every path (as polygons).
class WmfPaintEngine : public QPaintEngine {
public:
    explicit WmfPaintEngine(TWmfWriter& writer)
        : QPaintEngine(PrimitiveTransform | PainterPaths | PixmapTransform), m_writer(writer) {}

    bool begin(QPaintDevice*) override {
        m_penSet = m_brushSet = false;
        return true;
    }
    bool end() override { return true; }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState& state) override {
        const DirtyFlags flags = state.state();
        if (flags & DirtyTransform) m_transform = state.transform();
        if (flags & DirtyPen) {
            m_pen = state.pen();
            m_penSet = false;
        }
        if (flags & DirtyBrush) {
            m_brush = state.brush();
            m_brushSet = false;
        }
        if (flags & DirtyFont) m_font = state.font();
    }

    void drawLines(const QLineF* lines, int count) override {
        selectPen();
        for (int i = 0; i < count; ++i) {
            m_writer.moveTo(map(lines[i].p1()));
            m_writer.lineTo(map(lines[i].p2()));
        }
    }

    void drawRects(const QRectF* rects, int count) override {
        for (int i = 0; i < count; ++i) {
            const QPolygonF corners = m_transform.map(QPolygonF(rects[i]));
            drawMapped(corners, FillAndStroke);
        }
    }

    void drawEllipse(const QRectF& rect) override {
        if (m_transform.isRotating()) {
            QPainterPath path;
            path.addEllipse(rect);
            drawPath(path);
            return;
        }
        const QRectF r = m_transform.mapRect(rect);
        selectPen();
        selectBrush();
        m_writer.ellipse(
            static_cast<int>(std::lround(r.left())), static_cast<int>(std::lround(r.top())),
            static_cast<int>(std::lround(r.right())), static_cast<int>(std::lround(r.bottom())));
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        QPolygonF polygon;
        polygon.reserve(count);
        for (int i = 0; i < count; ++i)
            polygon << m_transform.map(points[i]);
        drawMapped(polygon, mode == PolylineMode ? StrokeOnly : FillAndStroke);
    }

    void drawPath(const QPainterPath& path) override {
        if (m_brush.style() != Qt::NoBrush) {
            for (const QPolygonF& polygon : path.toFillPolygons(m_transform))
                drawMapped(polygon, FillOnly);
        }
        if (m_pen.style() != Qt::NoPen) {
            for (const QPolygonF& polygon : path.toSubpathPolygons(m_transform))
                drawMapped(polygon, StrokeOnly);
        }
    }

    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        const QFont font = item.font();
        const double scale = std::sqrt(std::abs(m_transform.determinant()));
        const double pixels = font.pixelSize() > 0 ? font.pixelSize() * scale
                                                   : font.pointSizeF() * Dpi / 72.0 * scale;
        const double turn = std::atan2(m_transform.m12(), m_transform.m11()) * 180.0 / M_PI;
        m_writer.setFont(font.family().toLatin1().toStdString(),
                         static_cast<int>(std::lround(pixels)), font.bold() ? 700 : 400,
                         font.italic(), static_cast<int>(std::lround(-turn * 10)));
        m_writer.setTextColor(ToWmf(m_pen.color()));
        m_writer.textOut(map(p), item.text().toLatin1().toStdString());
    }

    void drawPixmap(const QRectF& rect, const QPixmap& pixmap, const QRectF& source) override {
        drawImage(rect, pixmap.toImage(), source, Qt::AutoColor);
    }

    void drawImage(const QRectF& rect, const QImage& image, const QRectF& source,
                   Qt::ImageConversionFlags) override {
        const QImage part =
            image.copy(source.toAlignedRect()).convertToFormat(QImage::Format_RGB32);
        std::vector<std::uint32_t> rgb;
        rgb.reserve(static_cast<std::size_t>(part.width()) * part.height());
        for (int y = 0; y < part.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(part.constScanLine(y));
            for (int x = 0; x < part.width(); ++x)
                rgb.push_back(line[x] & 0xFFFFFF);
        }
        const QRectF target = m_transform.mapRect(rect);
        m_writer.stretchPicture(static_cast<int>(std::lround(target.left())),
                                static_cast<int>(std::lround(target.top())),
                                static_cast<int>(std::lround(target.right())),
                                static_cast<int>(std::lround(target.bottom())), part.width(),
                                part.height(), rgb);
    }

private:
    enum Drawing { FillOnly, StrokeOnly, FillAndStroke };

    WmfPoint map(QPointF p) const { return ToWmf(m_transform.map(p)); }

    void selectPen() {
        if (m_penSet) return;
        const double scale = std::sqrt(std::abs(m_transform.determinant()));
        const int width = m_pen.isCosmetic()
                              ? std::max(1, static_cast<int>(std::lround(m_pen.widthF())))
                              : std::max(1, static_cast<int>(std::lround(m_pen.widthF() * scale)));
        m_writer.setPen(ToWmf(m_pen.style()), width, ToWmf(m_pen.color()));
        m_penSet = true;
    }

    void selectBrush() {
        if (m_brushSet) return;
        m_writer.setBrush(m_brush.style() != Qt::NoBrush, ToWmf(m_brush.color()));
        m_brushSet = true;
    }

    /// Polygons in device coordinates; a fill alone is drawn without an outline and a stroke
    /// alone as an open line.
    void drawMapped(const QPolygonF& polygon, Drawing drawing) {
        std::vector<WmfPoint> points;
        points.reserve(static_cast<std::size_t>(polygon.size()));
        for (const QPointF& p : polygon)
            points.push_back(ToWmf(p));
        if (drawing == StrokeOnly) {
            selectPen();
            m_writer.polyline(points);
            return;
        }
        if (drawing == FillOnly) {
            m_writer.setPen(TWmfWriter::PenStyle::Null, 1, 0);
            m_penSet = false;
        } else {
            selectPen();
        }
        selectBrush();
        m_writer.polygon(points);
    }

    TWmfWriter& m_writer;
    QTransform m_transform;
    QPen m_pen;
    QBrush m_brush;
    QFont m_font;
    bool m_penSet = false;
    bool m_brushSet = false;
};

TWmfPaintDevice::TWmfPaintDevice(QSize size)
    : m_size(size.expandedTo(QSize(1, 1))), m_writer(m_size.width(), m_size.height(), Dpi),
      m_engine(std::make_unique<WmfPaintEngine>(m_writer)) {}

TWmfPaintDevice::~TWmfPaintDevice() = default;

QPaintEngine* TWmfPaintDevice::paintEngine() const {
    return m_engine.get();
}

bool TWmfPaintDevice::save(const QString& path, QString* error) const {
    const std::vector<std::uint8_t> data = bytes();
    const std::string failure = WriteFileAtomically(
        path.toStdString(),
        std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    if (!failure.empty() && error) *error = QString::fromStdString(failure);
    return failure.empty();
}

int TWmfPaintDevice::metric(PaintDeviceMetric metric) const {
    switch (metric) {
    case PdmWidth:
        return m_size.width();
    case PdmHeight:
        return m_size.height();
    case PdmWidthMM:
        return static_cast<int>(std::lround(m_size.width() * 25.4 / Dpi));
    case PdmHeightMM:
        return static_cast<int>(std::lround(m_size.height() * 25.4 / Dpi));
    case PdmNumColors:
        return 0xFFFFFF;
    case PdmDepth:
        return 24;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return Dpi;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    }
    return 0;
}

} // namespace probex
