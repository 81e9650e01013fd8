#include "gui/components/WmfPaintDevice.h"
#include "components/WmfWriter.h"
#include "gui/components/Plot.h"

#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace probex;

namespace {

std::uint16_t Word(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

/// The metafile converted to SVG by libwmf's wmf2svg, an independent reader.
QString ConvertedToSvg(const QString& wmf) {
    const QString svg = wmf + QStringLiteral(".svg");
    QProcess convert;
    convert.start(QStringLiteral("wmf2svg"), {QStringLiteral("-o"), svg, wmf});
    if (!convert.waitForFinished(30000) || convert.exitCode() != 0) return {};
    QFile file(svg);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

class WmfPaintDeviceTest : public QObject {
    Q_OBJECT

private slots:
    void headersDescribeThePicture() {
        TWmfPaintDevice device(QSize(300, 200));
        {
            QPainter painter(&device);
            painter.drawLine(0, 0, 299, 199);
        }
        const std::vector<std::uint8_t> bytes = device.bytes();
        QVERIFY(bytes.size() > 40);
        QCOMPARE(Word(bytes, 0), 0xCDD7); // the placeable key
        QCOMPARE(Word(bytes, 2), 0x9AC6);
        QCOMPARE(Word(bytes, 10), 300); // the bounding box's right and bottom
        QCOMPARE(Word(bytes, 12), 200);
        QCOMPARE(Word(bytes, 14), 96);
        std::uint16_t checksum = 0;
        for (std::size_t at = 0; at < 20; at += 2)
            checksum ^= Word(bytes, at);
        QCOMPARE(Word(bytes, 20), checksum);
        // The metafile header counts the whole file in words; the file ends with its end record.
        const std::uint32_t words = Word(bytes, 28) | (Word(bytes, 30) << 16);
        QCOMPARE(static_cast<std::size_t>(words) * 2 + 22, bytes.size());
        QCOMPARE(Word(bytes, bytes.size() - 2), 0);
        QCOMPARE(Word(bytes, bytes.size() - 6), 3);
    }

    void anIndependentReaderShowsThePlot() {
        if (QStandardPaths::findExecutable(QStringLiteral("wmf2svg")).isEmpty())
            QSKIP("wmf2svg (libwmf-bin) is not installed");
        TPlot plot;
        plot.resize(400, 240);
        const int bars = plot.addSeries(PlotSeriesKind::Bar, QColor(0, 0, 128), 3);
        const int line = plot.addSeries(PlotSeriesKind::Line, QColor(255, 0, 0), 1);
        for (int i = 0; i <= 10; ++i) {
            plot.series(bars).points.push_back({i * 0.1, i * 0.05});
            plot.series(line).points.push_back({i * 0.1, i * 0.1});
        }
        plot.addMarker(Qt::Vertical, 0.5, QColor(0, 128, 0), 2);
        plot.scene().y.title = QStringLiteral("Probability");
        plot.replot();

        TWmfPaintDevice device(plot.size());
        {
            QPainter painter(&device);
            plot.render(painter, QRect(QPoint(0, 0), plot.size()));
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("plot.wmf"));
        QString error;
        QVERIFY2(device.save(path, &error), qPrintable(error));

        const QString svg = ConvertedToSvg(path);
        QVERIFY(!svg.isEmpty());
        // Tick labels and the axis title stay text, the title turned upwards; the bars, the
        // line and the marker keep their colours (the reader names them).
        QVERIFY(svg.contains(QRegularExpression(QStringLiteral(">\\s*0\\.4</text>"))));
        QVERIFY(svg.contains(QRegularExpression(
            QStringLiteral("matrix\\(0\\.0+ -1\\.0+ 1\\.0+ 0\\.0+ [^)]*\\)\"\\s*>Probability<"))));
        QCOMPARE(svg.count(QStringLiteral("stroke:navy")), 10); // the empty first bar is left out
        QCOMPARE(svg.count(QStringLiteral("stroke:red")), 1);
        QCOMPARE(svg.count(QStringLiteral("stroke:green")), 1);
    }

    void fontsAreNamedByFacesWindowsHas() {
        const std::pair<const char*, const char*> faces[] = {{"DejaVu Serif", "Times New Roman"},
                                                             {"Monospace", "Courier New"},
                                                             {"verdana", "Verdana"}};
        for (const auto& [family, face] : faces)
            QCOMPARE(WindowsFontFace(family), std::string(face));
        TWmfPaintDevice device(QSize(100, 40));
        {
            QPainter painter(&device);
            painter.setFont(QFont(QStringLiteral("Sans Serif")));
            painter.drawText(10, 20, QStringLiteral("0.4"));
        }
        const std::vector<std::uint8_t> bytes = device.bytes();
        const std::string text(bytes.begin(), bytes.end());
        QVERIFY(text.find(std::string("Arial\0", 6)) != std::string::npos);
        QVERIFY(text.find("Sans Serif") == std::string::npos);
    }

    void aPictureIsKeptAsAPicture() {
        if (QStandardPaths::findExecutable(QStringLiteral("wmf2svg")).isEmpty())
            QSKIP("wmf2svg (libwmf-bin) is not installed");
        QImage image(4, 3, QImage::Format_RGB32);
        image.fill(QColor(10, 200, 30));
        TWmfPaintDevice device(QSize(40, 30));
        {
            QPainter painter(&device);
            painter.drawImage(QRect(0, 0, 40, 30), image);
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("picture.wmf"));
        QVERIFY(device.save(path));
        QVERIFY(ConvertedToSvg(path).contains(QStringLiteral("<image")));
    }

    void aFailedWriteGivesTheSystemsMessage() {
        TWmfPaintDevice device(QSize(10, 10));
        QString error;
        QVERIFY(!device.save(QStringLiteral("/nonexistent-dir/x.wmf"), &error));
        QVERIFY(error.contains(QStringLiteral("No such file or directory")));
    }
};

QTEST_MAIN(WmfPaintDeviceTest)
#include "WmfPaintDeviceTest.moc"
