#include "gui/variables/TFrmDisInsp.h"

#include "gui/components/Plot.h"
#include "model/ProjectModel.h"
#include "settings/Settings.h"
#include "support/UiScriptedPrompter.h"
#include "variables/Distributions.h"
#include "variables/InputTable.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>

using namespace probex;

namespace {

bool near(Extended a, Extended b, Extended tolerance = 1e-12L) {
    return std::fabs(static_cast<double>(a - b)) <= tolerance;
}

} // namespace

class TFrmDisInspTest : public QObject {
    Q_OBJECT

    TSettings settings;
    test::UiScriptedPrompter prompter;
    DirectCall direct;
    std::unique_ptr<ProjectModel> model;
    std::unique_ptr<TFrmDisInsp> dialog;

    TInputTable& table() { return model->inputs(); }

    int addVariable(const char* name, const char* type) {
        const int row = table().FirstEmptyRow();
        table().setCellText(row, InputColumn::Variable, name);
        if (*type) table().commitCell(row, InputColumn::Type, type);
        return row;
    }
    template <typename T> T* child(const char* name) {
        T* widget = dialog->findChild<T*>(QString::fromLatin1(name));
        if (!widget) qFatal("no child %s", name);
        return widget;
    }
    void type(const char* field, const char* text) { child<QLineEdit>(field)->setText(text); }
    QString field(const char* name) { return child<QLineEdit>(name)->text(); }
    void click(const char* button) {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }
    bool shown(const char* name) { return child<QWidget>(name)->isVisibleTo(dialog.get()); }
    const TPlotSeries& series(const char* name) {
        TPlot* plot = dialog->graph();
        for (int i = 0; i < plot->seriesCount(); ++i)
            if (plot->series(i).name == QLatin1String(name)) return plot->series(i);
        qFatal("no series %s", name);
    }

private slots:
    void init() {
        settings = TSettings{};
        prompter = {};
        model = std::make_unique<ProjectModel>(settings, prompter, direct);
        dialog = std::make_unique<TFrmDisInsp>(*model, prompter);
    }
    void cleanup() {
        dialog.reset();
        model.reset();
        for (const auto& s : prompter.shown)
            qWarning("left-over message: %s", s.text.c_str());
        QVERIFY(prompter.shown.empty());
    }

    void normalSetWritesRecordAndParametersCell() {
        const int row = addVariable("x", "Normal");
        dialog->inspect(row);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("x"));
        QCOMPARE(child<QLabel>("LDis")->text(), QStringLiteral("Normal distribution"));
        QCOMPARE(field("EdtMin"), QStringLiteral("-3"));
        QCOMPARE(field("EdtCoVar"), QString()); // Mean 0: no CoVar
        type("EdtMin", "-5");
        type("EdtMax", "5");
        type("EdtMean", "1");
        type("EdtStDev", "2");
        click("BtnSet");
        const TIis& iis = table().record(row);
        QCOMPARE(iis.Min, -5.0L);
        QCOMPARE(iis.Max, 5.0L);
        QCOMPARE(iis.Loc, 1.0L);
        QCOMPARE(iis.Scale, 2.0L);
        QCOMPARE(iis.Variance, 4.0L);
        QCOMPARE(table().cell(row, InputColumn::Parameters),
                 std::string("Min=-5.00000000 Max=5.00000000 Mean=1.00000000 StDev=2.00000000"));
        QCOMPARE(field("EdtVari"), QStringLiteral("4"));
        QCOMPARE(field("EdtCoVar"), QStringLiteral("2"));
        QVERIFY(dialog->isVisible());
        click("BtnOK");
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
    }

    void onlyAChangeOfTheParametersDiscardsResults() {
        const int row = addVariable("x", "Uniform");
        settings.DefOutVars = 1; // y gathers statistics
        model->equations = {"y = x"};
        model->RunStop();
        model->waitForRun();
        QVERIFY(model->resultsExist());
        dialog->inspect(row);
        click("BtnSet");
        QVERIFY(model->resultsExist()); // looked at, nothing changed
        click("BtnOK");
        QVERIFY(!dialog->isVisible());
        QVERIFY(model->resultsExist());
        dialog->inspect(row);
        dialog->findChild<QLineEdit*>("EdtMax")->setText(QStringLiteral("2"));
        click("BtnSet");
        QVERIFY(!model->resultsExist());
        QCOMPARE(double(model->inputs().record(row).Max), 2.0);
    }

    void constantValue_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("loc");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("cell");
        QTest::newRow("PI") << "PI" << double(std::numbers::pi) << "Pi (3.141592...)"
                            << "Value=Pi (3.141592...)";
        QTest::newRow("blanks and words")
            << "  e as in Euler" << double(std::numbers::e) << "e (2.718281...)"
            << "Value=e (2.718281...)";
        QTest::newRow("number") << "2.5" << 2.5 << ""
                                << "Value=2.5";
        QTest::newRow("negative") << " -1e3 " << -1000.0 << ""
                                  << "Value=-1000";
    }
    void constantValue() {
        QFETCH(QString, typed);
        QFETCH(double, loc);
        QFETCH(QString, caption);
        QFETCH(QString, cell);
        const int row = addVariable("k", "Constant");
        dialog->inspect(row);
        QVERIFY(shown("CBVal"));
        QVERIFY(!shown("PxGraph"));
        child<QComboBox>("CBVal")->setEditText(typed);
        click("BtnSet");
        QVERIFY(near(table().record(row).Loc, loc));
        QCOMPARE(QString::fromStdString(table().record(row).ConstCaption), caption);
        QCOMPARE(QString::fromStdString(table().cell(row, InputColumn::Parameters)), cell);
    }

    void namedConstantChosenFromTheList() {
        const int row = addVariable("k", "Constant");
        dialog->inspect(row);
        auto* box = child<QComboBox>("CBVal");
        QCOMPARE(box->count(), 3);
        box->setCurrentIndex(1);
        click("BtnOK");
        QCOMPARE(table().record(row).Loc, 299776000.0L);
        QCOMPARE(table().record(row).ConstCaption, std::string("c (2.99776e8)"));
        QCOMPARE(table().cell(row, InputColumn::Parameters), std::string("Value=c (2.99776e8)"));
        // Showing it again puts the caption, not the number, into the box.
        dialog->inspect(row);
        QCOMPARE(box->currentText(), QStringLiteral("c (2.99776e8)"));
        click("BtnOK");
    }

    void invalidNumberKeepsDialogOpen() {
        const int row = addVariable("x", "Normal");
        dialog->inspect(row);
        type("EdtMin", "-4");
        type("EdtMean", "1x");
        click("BtnOK");
        QCOMPARE(prompter.take(Prompter::Kind::Error),
                 std::string("'1x' is not a valid floating point value"));
        QVERIFY(dialog->isVisible());
        QCOMPARE(table().record(row).Min, -4.0L); // read before the bad field
        QCOMPARE(table().record(row).Mean, 0.0L);
        type("EdtMean", "0");
        click("BtnOK");
        QVERIFY(!dialog->isVisible());
    }

    void checkErrorRefusesToClose() {
        const int row = addVariable("x", "Uniform");
        dialog->inspect(row);
        type("EdtMin", "5");
        type("EdtMax", "1");
        dialog->close();
        QCOMPARE(prompter.take(Prompter::Kind::Error), std::string("Must be Min<Max!"));
        QVERIFY(dialog->isVisible());
        QCOMPARE(table().record(row).Min, 5.0L); // the record keeps what was read
        QCOMPARE(
            table().cell(row, InputColumn::Parameters),
            std::string("Min=0.00000000 Max=1.00000000 Mean=0.50000000 StDev=2.886751346E-01"));
        type("EdtMax", "7");
        dialog->close();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(table().record(row).Mean, 6.0L);
    }

    void warningIsShownAndValuesKept() {
        const int row = addVariable("x", "Normal");
        dialog->inspect(row);
        type("EdtMean", "-4");
        click("BtnSet");
        QCOMPARE(prompter.take(Prompter::Kind::Warning), std::string("Should be Min<Mean!"));
        QCOMPARE(table().record(row).Loc, -4.0L);
        QCOMPARE(field("EdtMed"), QStringLiteral("-4"));
        click("BtnOK");
        QCOMPARE(prompter.take(Prompter::Kind::Warning), std::string("Should be Min<Mean!"));
    }

    void resetAsksAndRestoresDefaults() {
        const int row = addVariable("x", "LogNormal");
        dialog->inspect(row);
        type("EdtMax", "50");
        type("EdtMean", "3");
        click("BtnSet");
        prompter.answers = {Prompter::Answer::No, Prompter::Answer::Yes};
        click("BtnReset");
        QCOMPARE(prompter.shown.at(0).buttons, Prompter::Buttons::YesNoCancel);
        QCOMPARE(prompter.take(Prompter::Kind::Confirmation), std::string("Reset all parameters?"));
        QCOMPARE(table().record(row).Max, 50.0L);
        click("BtnReset");
        QCOMPARE(prompter.take(Prompter::Kind::Confirmation), std::string("Reset all parameters?"));
        const TIis& iis = table().record(row);
        QCOMPARE(iis.Min, 0.0L);
        QCOMPARE(iis.Max, 1000.0L);
        QCOMPARE(iis.Mean, 1.0L);
        QCOMPARE(iis.StDev, 1.0L);
        QCOMPARE(field("EdtMax"), QStringLiteral("1000"));
        QVERIFY(field("EdtMed").startsWith(QStringLiteral("0.70710678")));
        QCOMPARE(table().cell(row, InputColumn::Parameters),
                 std::string("Min=0.00000000 Max=1000.00000000 Mean=1.00000000 StDev=1.00000000"));
        click("BtnOK");
    }

    void layoutsByKind_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("value");
        QTest::addColumn<bool>("full");
        QTest::addColumn<bool>("buttons");
        QTest::addColumn<bool>("meanEditable");
        QTest::newRow("undefined") << ""
                                   << "Variable not defined" << false << false << false << false;
        QTest::newRow("step") << "Step number"
                              << "Step number" << false << false << false << false;
        QTest::newRow("constant") << "Constant"
                                  << "Constant" << true << false << true << false;
        QTest::newRow("exponential") << "Exponential"
                                     << "Exponential distribution" << false << true << true << true;
        QTest::newRow("uniform") << "Uniform"
                                 << "Uniform distribution" << false << true << true << false;
    }
    void layoutsByKind() {
        QFETCH(QString, kind);
        QFETCH(QString, title);
        QFETCH(bool, value);
        QFETCH(bool, full);
        QFETCH(bool, buttons);
        QFETCH(bool, meanEditable);
        const int row = addVariable("v", kind.toLatin1().constData());
        dialog->inspect(row);
        QCOMPARE(child<QLabel>("LDis")->text(), title);
        QCOMPARE(shown("CBVal"), value);
        QCOMPARE(shown("EdtMin"), full);
        QCOMPARE(shown("PxGraph"), full);
        QCOMPARE(shown("EdtKurt"), full);
        QVERIFY(!shown("EdtFileName"));
        QCOMPARE(shown("BtnSet"), buttons);
        QCOMPARE(shown("BtnReset"), buttons);
        if (full) QCOMPARE(child<QLineEdit>("EdtMean")->isReadOnly(), !meanEditable);
        click("BtnOK");
        QVERIFY(!dialog->isVisible());
    }

    void modeKindsEditTheirMode() {
        const int row = addVariable("t", "Triangular");
        dialog->inspect(row);
        QCOMPARE(child<QLabel>("LDis")->text(), QStringLiteral("Triangular distribution"));
        QVERIFY(shown("EdtMode"));
        QVERIFY(child<QLineEdit>("EdtMean")->isReadOnly());
        type("EdtMode", "2");
        click("BtnSet");
        QCOMPARE(prompter.take(Prompter::Kind::Error), std::string("Must be Min<=Mode<=Max!"));
        type("EdtMode", "0.25");
        click("BtnSet");
        QCOMPARE(table().record(row).Mode, 0.25L);
        QCOMPARE(field("EdtMean"), QStringLiteral("0.416666666666667"));
        QCOMPARE(table().cell(row, InputColumn::Parameters),
                 std::string("Min=0.00000000 Max=1.00000000 Mode=0.25000000"));
        dialog->setGraphMode(DistGraphMode::Distribution);
        const TPlotSeries& cum = series("PxResCum");
        for (const QPointF& p : cum.points) {
            const double x = p.x();
            const double f = x <= 0.25 ? x * x / 0.25 : 1 - (1 - x) * (1 - x) / 0.75;
            QVERIFY2(std::fabs(p.y() - f) <= 1e-12, qPrintable(QString::number(x)));
        }
        dialog->setGraphMode(DistGraphMode::Probability);
        click("BtnOK");

        table().commitCell(row, InputColumn::Type, "gumbelmin");
        dialog->inspect(row);
        QCOMPARE(child<QLabel>("LDis")->text(),
                 QStringLiteral("Gumbel distribution of smallest values"));
        QVERIFY(!shown("EdtMode"));
        QVERIFY(!child<QLineEdit>("EdtMean")->isReadOnly());
        click("BtnOK");
    }

    void discreteHistogramDrawsItsBins() {
        const int row = addVariable("h", "");
        TIis& iis = table().record(row);
        iis.Kind = DistKind::dkDiscrete;
        iis.Min = 0;
        iis.Max = 8;
        iis.Bins = 5;
        iis.ProfileCount = 5;
        iis.FileName = "five.dis";
        for (int i = 0; i < 5; ++i)
            iis.Profile[i] = i + 1;
        dialog->inspect(row);
        QCOMPARE(child<QLabel>("LDis")->text(), QStringLiteral("Discrete distribution"));
        QCOMPARE(field("EdtFileName"), QStringLiteral("five.dis"));
        QCOMPARE(child<QLabel>("LClasses")->text(), QStringLiteral("5"));
        QVERIFY(child<QLineEdit>("EdtMin")->isReadOnly());
        QVERIFY(!shown("EdtMean"));
        QVERIFY(!child<QPushButton>("BtnReset")->isEnabled());
        const TPlotSeries& bars = series("PxResHis");
        QVERIFY(bars.visible);
        QCOMPARE(bars.kind, PlotSeriesKind::Bar);
        QCOMPARE(bars.width, 3);
        QCOMPARE(bars.points, (QVector<QPointF>{{0, 1}, {2, 2}, {4, 3}, {6, 4}, {8, 5}}));
        QCOMPARE(dialog->graph()->fullRange(), (TPlotRange{0, 8, 0, 5}));

        dialog->setGraphMode(DistGraphMode::Distribution);
        const TPlotSeries& cum = series("PxResCum");
        QVERIFY(cum.visible && !series("PxResHis").visible);
        QVector<QPointF> steps; // bin counts 1..5 of 15, two points per step
        for (double x = 0, below = 0; x <= 8; x += 2) {
            steps << QPointF(x, below / 15);
            below += x / 2 + 1;
            steps << QPointF(x, below / 15);
        }
        QCOMPARE(cum.points, steps);
        dialog->setGraphMode(DistGraphMode::Quantile);
        QCOMPARE(series("PxResQua").points.at(3), QPointF(3.0 / 15, 2));
        QCOMPARE(dialog->graph()->fullRange(), (TPlotRange{0, 1, 0, 8}));
        QCOMPARE(child<QStatusBar>("StatusBar")->currentMessage(),
                 QStringLiteral("Quantile function"));
        dialog->setGraphMode(DistGraphMode::Probability);
        click("BtnOK");
    }

    void parametricGraphsFollowTheirFormula_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QVector<double>>("parameters"); // Min, Max, Mean, StDev
        QTest::addColumn<double>("mode");
        QTest::newRow("normal defaults") << "Normal" << QVector<double>{-3, 3, 0, 1} << 0.0;
        QTest::newRow("normal off centre") << "Normal" << QVector<double>{0, 20, 12, 2} << 12.0;
        QTest::newRow("lognormal") << "Lognormal" << QVector<double>{0, 10, 2, 1} << 1.4308;
        QTest::newRow("exponential") << "Exponential" << QVector<double>{0, 20, 1, 1} << 0.0;
        QTest::newRow("uniform") << "Uniform" << QVector<double>{2, 5} << 2.0;
        // A peak much narrower than a cell: its probability is still drawn in full.
        QTest::newRow("lognormal defaults")
            << "Lognormal" << QVector<double>{0, 1000, 1, 1} << 0.3536;
        // Mode a = 100 − γ·20·√6/π.
        QTest::newRow("gumbel") << "Gumbel" << QVector<double>{0, 300, 100, 20} << 90.9989;
    }
    void parametricGraphsFollowTheirFormula() {
        QFETCH(QString, kind);
        QFETCH(QVector<double>, parameters);
        QFETCH(double, mode);
        const int row = addVariable("x", kind.toLatin1().constData());
        TIis& iis = table().record(row);
        iis.Min = parameters[0];
        iis.Max = parameters[1];
        if (parameters.size() > 2) {
            iis.Mean = parameters[2];
            iis.StDev = parameters[3];
        }
        QCOMPARE(QString::fromStdString(CheckParameters(iis)), QString());
        dialog->inspect(row);

        // The untruncated distribution function, written out here on its own.
        const double lo = parameters[0], hi = parameters[1];
        const auto phi = [](double z) { return 0.5 * std::erfc(-z / std::sqrt(2.0)); };
        std::function<double(double)> cdf;
        if (kind == "Uniform") {
            cdf = [=](double x) { return (x - lo) / (hi - lo); };
        } else if (kind == "Gumbel") {
            const double b = parameters[3] * std::sqrt(6.0) / std::numbers::pi;
            const double a = parameters[2] - std::numbers::egamma * b;
            cdf = [=](double x) { return std::exp(-std::exp(-(x - a) / b)); };
        } else if (kind == "Exponential") {
            const double from = parameters[2] - parameters[3], scale = parameters[3];
            cdf = [=](double x) { return x < from ? 0 : 1 - std::exp(-(x - from) / scale); };
        } else {
            double mu = parameters[2], sigma = parameters[3];
            const bool log = kind == "Lognormal";
            if (log) {
                const double w = 1 + (sigma / mu) * (sigma / mu);
                mu = std::log(parameters[2] / std::sqrt(w));
                sigma = std::sqrt(std::log(w));
            }
            cdf = [=](double x) {
                return log && x <= 0 ? 0.0 : phi(((log ? std::log(x) : x) - mu) / sigma);
            };
        }
        const double mass = cdf(hi) - cdf(lo);
        const double h = (hi - lo) / 255;

        // Each bar is the probability of its cell, centred on the bar, over the cell width.
        const auto cell = [&](double x) {
            const double from = std::max(x - h / 2, lo), to = std::min(x + h / 2, hi);
            return (cdf(to) - cdf(from)) / mass / h;
        };
        const TPlotSeries& bars = series("PxResHis");
        QCOMPARE(bars.points.size(), 256);
        int peak = 0;
        double held = 0;
        for (int i = 0; i < 256; ++i) {
            const QPointF p = bars.points[i];
            QVERIFY(std::fabs(p.x() - (lo + i * h)) <= 1e-12 * (hi - lo));
            QVERIFY2(std::fabs(p.y() - cell(p.x())) <= 1e-9 * (1 + p.y()),
                     qPrintable(QString("cell %1: %2").arg(i).arg(p.y())));
            if (p.y() > bars.points[peak].y()) peak = i;
            held += p.y() * h;
        }
        QVERIFY(std::fabs(bars.points[peak].x() - mode) <= h);
        QVERIFY2(std::fabs(held - 1) <= 1e-9, qPrintable(QString::number(held)));

        dialog->setGraphMode(DistGraphMode::Distribution);
        const TPlotSeries& cum = series("PxResCum");
        QCOMPARE(cum.points.size(), 256);
        QCOMPARE(cum.points.first(), QPointF(lo, 0));
        QCOMPARE(cum.points.last(), QPointF(hi, 1));
        double crossing = 0;
        for (int i = 0; i < 256; ++i) {
            const QPointF p = cum.points[i];
            QVERIFY(std::fabs(p.y() - (cdf(p.x()) - cdf(lo)) / mass) <= 1e-9);
            const QPointF q = cum.points[std::max(i - 1, 0)];
            if (q.y() < 0.5 && p.y() >= 0.5)
                crossing = q.x() + (0.5 - q.y()) / (p.y() - q.y()) * (p.x() - q.x());
        }
        // Between two cells the curve is straight: a median in the first cell is found only
        // to within that cell.
        const double median = field("EdtMed").toDouble();
        QVERIFY2(std::fabs(crossing - median) <= (median > lo + h ? h / 4 : h),
                 qPrintable(QString::number(crossing)));
        dialog->setGraphMode(DistGraphMode::Quantile);
        QCOMPARE(series("PxResQua").points.at(100),
                 QPointF(cum.points[100].y(), cum.points[100].x()));
        dialog->setGraphMode(DistGraphMode::Probability);
        click("BtnOK");
    }

    void graphModeLivesOnAndIsDrawnInTheSettingsColour() {
        const int row = addVariable("x", "Normal");
        dialog->inspect(row);
        QCOMPARE(child<QStatusBar>("StatusBar")->currentMessage(),
                 QStringLiteral("Probability function"));
        const QImage image = dialog->graph()->toImage(QSize(300, 200));
        const QColor green(0, 128, 0); // PlotDisColor 32768
        int greenPixels = 0;
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, 150) == green) ++greenPixels;
        QVERIFY(greenPixels > 10);

        dialog->graph()->actions().at(1)->trigger();
        click("BtnOK");
        dialog->inspect(row);
        QCOMPARE(dialog->graphMode(), DistGraphMode::Distribution);
        dialog->setGraphMode(DistGraphMode::Probability);
        click("BtnOK");
    }

    void variableBoxListsNamedRowsAndSwitches() {
        const int a = addVariable("a", "Normal");
        table().setCellText(2, InputColumn::Comment, "no name here");
        const int b = addVariable("b", "Constant");
        table().setCellText(b, InputColumn::Comment, "the b");
        table().record(b).Comment = "the b";
        dialog->inspect(a);
        auto* box = child<QComboBox>("BoxVariable");
        QCOMPARE(box->count(), 2);
        QCOMPARE(box->itemText(0), QStringLiteral("a"));
        QCOMPARE(box->itemText(1), QStringLiteral("b"));
        box->setCurrentIndex(1);
        QCOMPARE(dialog->currentRow(), b);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("b"));
        QCOMPARE(field("EdtCom"), QStringLiteral("the b"));
        QCOMPARE(child<QLabel>("LDis")->text(), QStringLiteral("Constant"));
        QVERIFY(dialog->selectVariable(QStringLiteral("A")));
        QCOMPARE(dialog->currentRow(), a);
        QVERIFY(!dialog->selectVariable(QStringLiteral("zz")));
        click("BtnOK");
    }
};

QTEST_MAIN(TFrmDisInspTest)
#include "TFrmDisInspTest.moc"
