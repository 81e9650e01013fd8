#include "gui/components/Plot.h"
#include "gui/components/PlotRenderer.h"
#include "gui/components/PlotTicks.h"
#include "support/UiScriptedPrompter.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QPdfWriter>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace probex;

namespace {

const QColor Red(255, 0, 0);
const QColor Blue(0, 0, 255);

/// Where a data point lands when the plot is drawn into an image of `size`.
QPoint pixelOf(const TPlot& plot, QSize size, QPointF data) {
    QImage probe(size, QImage::Format_RGB32);
    QPainter painter(&probe);
    painter.setFont(plot.font());
    const QFontMetricsF fm(painter.font(), painter.device());
    const TPlotRange view = plot.visibleRange();
    const QRectF area = PlotArea(plot.scene(), view, QRectF(probe.rect()), fm);
    return TPlotMapper(area, view, plot.scene()).toPixel(data).toPoint();
}

/// Lines fall on whole pixels, so a line through a point may lie one pixel beside it.
bool colourNear(const QImage& image, QPoint at, const QColor& colour) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.pixelColor(at + QPoint(dx, dy)) == colour) return true;
    return false;
}

/// A shown plot with a red bar, of a known size.
std::unique_ptr<TPlot> ShownPlot() {
    auto plot = std::make_unique<TPlot>();
    plot->resize(300, 200);
    plot->setXRange(0, 10);
    plot->setYRange(0, 10);
    const int bars = plot->addSeries(PlotSeriesKind::Bar, Red, 3);
    plot->series(bars).points = {{5, 8}};
    return plot;
}

QAction* MenuItem(QMenu* menu, const char* name) {
    return menu->findChild<QAction*>(QLatin1String(name));
}

} // namespace

class PlotTest : public QObject {
    Q_OBJECT

private slots:
    void ticksAreRoundMultiples_data() {
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("unit") << 0.0 << 1.0 << 5
                              << QStringList{"0", "0.2", "0.4", "0.6", "0.8", "1"};
        QTest::newRow("symmetric")
            << -3.0 << 3.0 << 6 << QStringList{"-3", "-2", "-1", "0", "1", "2", "3"};
        QTest::newRow("inside") << 0.05 << 0.95 << 4 << QStringList{"0.2", "0.4", "0.6", "0.8"};
        QTest::newRow("large") << 0.0 << 2000.0 << 4
                               << QStringList{"0", "500", "1000", "1500", "2000"};
        QTest::newRow("empty") << 1.0 << 1.0 << 5 << QStringList{};
        QTest::newRow("reversed") << 2.0 << 1.0 << 5 << QStringList{};
    }
    void ticksAreRoundMultiples() {
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(int, count);
        QFETCH(QStringList, labels);
        const QVector<double> ticks = PlotTicks(min, max, count);
        QStringList got;
        for (double t : ticks)
            got << PlotTickLabel(t, ticks.size() > 1 ? ticks[1] - ticks[0] : 1, QLatin1Char('.'));
        QCOMPARE(got, labels);
    }

    void tickLabelsUseTheDecimalSeparator() {
        QCOMPARE(PlotTickLabel(0.5, 0.1, QLatin1Char(',')), QStringLiteral("0,5"));
        QCOMPARE(PlotTickLabel(1e-17, 0.1, QLatin1Char('.')), QStringLiteral("0"));
    }

    void automaticRangeSpansVisibleSeriesAndBarsStandOnZero() {
        TPlot plot;
        const int bars = plot.addSeries(PlotSeriesKind::Bar, Red);
        plot.series(bars).points = {{1, 5}, {3, 7}};
        QCOMPARE(plot.fullRange(), (TPlotRange{1, 3, 0, 7}));
        const int line = plot.addSeries(PlotSeriesKind::Line, Blue);
        plot.series(line).points = {{-2, -1}, {4, 2}};
        QCOMPARE(plot.fullRange(), (TPlotRange{-2, 4, -1, 7}));
        plot.series(line).visible = false;
        QCOMPARE(plot.fullRange(), (TPlotRange{1, 3, 0, 7}));
        plot.setXRange(10, 0);
        QCOMPARE(plot.fullRange(), (TPlotRange{0, 10, 0, 7}));
    }

    void seriesAndMarkersAreDrawnWhereTheirDataIs() {
        TPlot plot;
        plot.setXRange(0, 10);
        plot.setYRange(0, 10);
        const int bars = plot.addSeries(PlotSeriesKind::Bar, Red, 3);
        plot.series(bars).points = {{5, 8}};
        const int line = plot.addSeries(PlotSeriesKind::Line, Blue, 1);
        plot.series(line).points = {{0, 10}, {10, 0}};
        plot.addMarker(Qt::Vertical, 2, QColor(0, 128, 0));
        const int points = plot.addSeries(PlotSeriesKind::Points, Blue, 2);
        plot.series(points).points = {{8, 8}};
        plot.addMarker(Qt::Horizontal, 1, Red);
        const QSize size(320, 240);
        const QImage image = plot.toImage(size);
        QCOMPARE(image.size(), size);

        const QPoint barTop = pixelOf(plot, size, {5, 8});
        const QPoint barBase = pixelOf(plot, size, {5, 0});
        QCOMPARE(image.pixelColor(barTop.x(), (barTop.y() + barBase.y()) / 2 + 10), Red);
        QCOMPARE(image.pixelColor(barTop.x(), barTop.y() - 5), QColor(Qt::white));
        QVERIFY(colourNear(image, pixelOf(plot, size, {7.5, 2.5}), Blue));
        const QPoint mark = pixelOf(plot, size, {2, 5});
        QVERIFY(colourNear(image, mark, QColor(0, 128, 0)));
        QCOMPARE(image.pixelColor(mark.x() + 4, mark.y()), QColor(Qt::white));
        QVERIFY(!colourNear(image, pixelOf(plot, size, {2.5, 2.5}), Blue));
        QCOMPARE(image.pixelColor(pixelOf(plot, size, {8, 8})), Blue);
        QVERIFY(colourNear(image, pixelOf(plot, size, {3.5, 1}), Red));
        QCOMPARE(image.pixelColor(pixelOf(plot, size, {8, 6})), QColor(Qt::white));
    }

    void zoomShowsPartAndResetRestores() {
        TPlot plot;
        plot.setXRange(0, 10);
        plot.setYRange(0, 10);
        const int bars = plot.addSeries(PlotSeriesKind::Bar, Red, 3);
        plot.series(bars).points = {{5, 8}};
        QSignalSpy spy(&plot, &TPlot::zoomChanged);
        plot.zoomTo({9, 6, 2, 4});
        QVERIFY(plot.isZoomed());
        QCOMPARE(plot.visibleRange(), (TPlotRange{6, 9, 2, 4}));
        QCOMPARE(plot.fullRange(), (TPlotRange{0, 10, 0, 10}));
        const QSize size(300, 200);
        const QImage zoomed = plot.toImage(size);
        for (int x = 0; x < size.width(); ++x)
            QVERIFY2(zoomed.pixelColor(x, size.height() / 2) != Red, "bar outside the zoom drawn");
        plot.resetZoom();
        QVERIFY(!plot.isZoomed());
        QCOMPARE(plot.visibleRange(), plot.fullRange());
        QCOMPARE(spy.count(), 2);
        plot.zoomTo({1, 1, 0, 5}); // no width: refused
        QVERIFY(!plot.isZoomed());
    }

    void rubberBandZoomsAndReverseDragResets() {
        TPlot plot;
        plot.resize(400, 300);
        plot.setXRange(0, 10);
        plot.setYRange(0, 10);
        plot.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plot));
        const QPoint from = plot.toPixel({2, 8});
        const QPoint to = plot.toPixel({6, 4});
        QTest::mousePress(&plot, Qt::LeftButton, {}, from);
        QTest::mouseMove(&plot, to);
        QTest::mouseRelease(&plot, Qt::LeftButton, {}, to);
        QVERIFY(plot.isZoomed());
        const TPlotRange r = plot.visibleRange();
        QVERIFY(qAbs(r.xMin - 2) < 0.1 && qAbs(r.xMax - 6) < 0.1);
        QVERIFY(qAbs(r.yMin - 4) < 0.1 && qAbs(r.yMax - 8) < 0.1);

        QTest::mouseClick(&plot, Qt::LeftButton, {}, plot.toPixel({4, 6}));
        QVERIFY2(plot.isZoomed(), "a click is not a drag");

        QTest::mousePress(&plot, Qt::LeftButton, {}, QPoint(300, 200));
        QTest::mouseRelease(&plot, Qt::LeftButton, {}, QPoint(100, 50));
        QVERIFY(!plot.isZoomed());
    }

    void mapperRoundTrips() {
        TPlotMapper map(QRectF(10, 20, 200, 100), {-1, 1, 0, 50});
        QCOMPARE(map.toPixel({-1, 0}), QPointF(10, 120));
        QCOMPARE(map.toPixel({1, 50}), QPointF(210, 20));
        const QPointF back = map.toData(map.toPixel({0.25, 12.5}));
        QVERIFY(qAbs(back.x() - 0.25) < 1e-12 && qAbs(back.y() - 12.5) < 1e-12);
        // A point range still maps, widened around its value.
        TPlotMapper flat(QRectF(0, 0, 100, 100), {3, 3, 0, 0});
        QCOMPARE(flat.toPixel({3, 0}), QPointF(50, 50));
    }

    void logarithmicAxisSpacesDecadesEvenly() {
        const TPlotMapper map(QRectF(0, 0, 300, 100), {10, 10000, 0, 1}, true, false);
        QCOMPARE(map.toPixel({10, 0}).x(), 0.0);
        QCOMPARE(map.toPixel({100, 0}).x(), 100.0);
        QCOMPARE(map.toPixel({10000, 0}).x(), 300.0);
        QVERIFY(std::abs(map.toData({200, 0}).x() - 1000) < 1e-9);
        QVERIFY(!map.drawable({0, 0.5}) && map.drawable({1, 0.5}));
        QCOMPARE(PlotLogTicks(1, 1e6, 10), (QVector<double>{1, 10, 100, 1e3, 1e4, 1e5, 1e6}));
        QCOMPARE(PlotLogTicks(3, 100, 10), (QVector<double>{5, 10, 20, 50, 100}));
        QCOMPARE(PlotLogTicks(1, 1e8, 3), (QVector<double>{1, 1e3, 1e6}));

        TPlot plot;
        const int s = plot.addSeries(PlotSeriesKind::Line, Red, 2);
        plot.series(s).points = {{0, 0.2}, {100, 0.4}, {100000, 0.6}};
        plot.scene().x.logarithmic = true;
        QCOMPARE(plot.fullRange(), (TPlotRange{100, 100000, 0.2, 0.6}));
        const QImage image = plot.toImage(QSize(300, 200));
        const QPoint middle = pixelOf(plot, QSize(300, 200), {std::sqrt(1e7), 0.5});
        QVERIFY(colourNear(image, middle, Red));
    }

    void rendersIntoAPdf() {
        QTemporaryDir dir;
        const QString file = dir.filePath("plot.pdf");
        TPlot plot;
        const int line = plot.addSeries(PlotSeriesKind::Line, Blue, 1);
        plot.series(line).points = {{0, 0}, {1, 1}};
        {
            QPdfWriter pdf(file);
            QPainter painter(&pdf);
            plot.render(painter, QRect(0, 0, pdf.width(), pdf.height()));
        }
        QFile out(file);
        QVERIFY(out.open(QIODevice::ReadOnly));
        QVERIFY(out.read(4) == "%PDF");
        QVERIFY(out.size() > 500);
    }

    void popupCopiesThePictureAtTheChosenSize() {
        const auto plot = ShownPlot();
        auto* owners = new QAction(QStringLiteral("Owner's command"), plot.get());
        plot->addAction(owners);
        plot->setContextMenuPolicy(Qt::ActionsContextMenu); // as owners with commands do
        plot->show();
        QVERIFY(QTest::qWaitForWindowExposed(plot.get()));
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(10, 10),
                                plot->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(plot.get(), &click);
        auto* popup = plot->findChild<QMenu*>("PopPlot");
        QVERIFY(popup && popup->isVisible());
        QCOMPARE(popup->actions().first(), owners);
        QVERIFY(MenuItem(popup, "ItmExportSvg"));
        popup->close();
        std::unique_ptr<QMenu> menu(plot->createPopupMenu(nullptr));
        MenuItem(menu.get(), "ItmPictureScale2")->trigger();
        QCOMPARE(plot->pictureScale(), 2);
        MenuItem(menu.get(), "ItmCopyPicture")->trigger();
        const QImage copied = QGuiApplication::clipboard()->image();
        QCOMPARE(copied.size(), QSize(600, 400));
        // Everything grows alike: the bar sits where it sits in the picture as shown.
        const QImage shown = PlotPicture(*plot, 1);
        const QPoint bar = pixelOf(*plot, shown.size(), {5, 4});
        QCOMPARE(shown.pixelColor(bar), Red);
        QCOMPARE(copied.pixelColor(bar * 2), Red);
    }

    void exportsWriteValidPngAndSvg() {
        QTemporaryDir dir;
        const auto plot = ShownPlot();
        test::UiScriptedPrompter prompter;
        plot->setPrompter(&prompter);
        plot->setPictureScale(4);
        const QString png = dir.filePath("graph.png");
        const QString svg = dir.filePath("graph.svg");
        prompter.files = {png.toStdString(), svg.toStdString()};
        std::unique_ptr<QMenu> menu(plot->createPopupMenu(nullptr));
        MenuItem(menu.get(), "ItmExportPng")->trigger();
        MenuItem(menu.get(), "ItmExportSvg")->trigger();
        QCOMPARE(prompter.fileRequests.at(0).defaultExtension, std::string("png"));
        QCOMPARE(prompter.fileRequests.at(1).defaultExtension, std::string("svg"));
        QVERIFY(prompter.shown.empty());

        QImage image;
        QVERIFY(image.load(png, "PNG"));
        QCOMPARE(image.size(), QSize(1200, 800));
        QCOMPARE(image.pixelColor(pixelOf(*plot, {300, 200}, {5, 4}) * 4), Red);
        QSvgRenderer renderer(svg);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.viewBox(), QRect(0, 0, 1200, 800));
        QImage drawn(renderer.viewBox().size(), QImage::Format_RGB32);
        drawn.fill(Qt::white);
        QPainter painter(&drawn);
        renderer.render(&painter);
        QCOMPARE(drawn.pixelColor(pixelOf(*plot, {300, 200}, {5, 4}) * 4), Red);
    }
};

QTEST_MAIN(PlotTest)
#include "PlotTest.moc"
