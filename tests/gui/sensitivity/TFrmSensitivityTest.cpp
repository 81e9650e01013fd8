#include "gui/sensitivity/TFrmSensitivity.h"

#include "gui/app/ResultWindowManager.h"
#include "gui/app/TFrmMain.h"
#include "gui/components/Plot.h"
#include "gui/results/ReportPdf.h"
#include "gui/sensitivity/SensitivityWindows.h"
#include "project/ProjectWriter.h"
#include "sensitivity/SensitivityText.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "support/UiScriptedPrompter.h"
#include "variables/Distributions.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

using namespace probex;

namespace {

/// The main window over y = 3*a + b + 0*c with three uniform inputs, counting y > 2.5.
struct Fixture {
    QTemporaryDir dir;
    TSettings settings;
    test::UiScriptedPrompter prompter;
    std::unique_ptr<TFrmMain> main;

    Fixture() {
        settings = MakeDefaultSettings(dir.path().toStdString() + "/");
        settings.DefOutVars = 1; // statistics: the window raises y to a log
        main = std::make_unique<TFrmMain>(settings, prompter,
                                          dir.filePath("Probex.ini").toStdString());
        main->setErrorPopup(&prompter);
        main->show();
        model().equations = {"y = 3*a + b + 0*c"};
        model().outEquationLines = {"0 > 2.5 - y"};
        model().outEquations().evalSettings().Mode = OutEvalMode::Probability;
        for (const char* name : {"a", "b", "c"}) {
            model().inputs().AddInputVariable(name);
            const int row = model().inputs().FindVarRow(name);
            model().inputs().commitCell(row, InputColumn::Type, "Uniform");
            model().inputs().record(row).Min = 0;
            model().inputs().record(row).Max = 1;
            QCOMPARE(CheckParameters(model().inputs().record(row)), std::string());
        }
        model().setLastStep(4000);
        QVERIFY(model().Compile());
    }
    ~Fixture() {
        main->commands().markSaved();
        main->close();
    }
    ProjectModel& model() { return main->model(); }
    SensitivityWindows& windows() { return *main->resultWindows()->sensitivity(); }
    void run() {
        QCOMPARE(model().RunStop(), ProjectModel::RunCommand::Started);
        QTRY_VERIFY_WITH_TIMEOUT(!model().running(), 20000);
        QVERIFY(model().resultsExist());
    }
};

QString Cell(QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

} // namespace

class TFrmSensitivityTest : public QObject {
    Q_OBJECT

private slots:
    void viewOpensAWindowThatTheRunFills() {
        Fixture f;
        f.main->findChild<QAction*>("ItmSensitivity")->trigger();
        QCOMPARE(f.windows().count(), std::size_t{1});
        TFrmSensitivity* w = f.windows().window(0);
        QCOMPARE(w->variableBox()->currentText(), QStringLiteral("y"));
        // Its sensitivity needs y at every step.
        QCOMPARE(f.model().outputs().cell(f.model().outputs().FindOutputRow("y"), colActivity),
                 std::string("Log"));
        f.run();
        QTableWidget* grid = w->grid();
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(Cell(grid, 0, TFrmSensitivity::colInput), QStringLiteral("a"));
        QCOMPARE(Cell(grid, 2, TFrmSensitivity::colInput), QStringLiteral("c"));
        QVERIFY(Cell(grid, 0, TFrmSensitivity::colShift).isEmpty());
        // 3a + b of uniforms: a carries 9/10 of the variance.
        QVERIFY(std::fabs(w->shown()->inputs[0].firstOrder - 0.9) < 0.05);
        QCOMPARE(w->chart()->scene().y.categories,
                 (QStringList{QStringLiteral("c"), QStringLiteral("b"), QStringLiteral("a")}));
        QVERIFY(w->chart()->seriesCount() >= 3);

        w->grid()->findChild<QAction*>("ActCopyTable")->trigger();
        const QString copied = QApplication::clipboard()->text();
        QVERIFY(copied.startsWith(QStringLiteral("Output\tInput\tRank correlation\t")));
        QCOMPARE(copied.count(QLatin1Char('\n')), 4);

        // The report prints the window as its table and its chart.
        const QString pdf = f.dir.filePath(QStringLiteral("report.pdf"));
        QCOMPARE(WriteReportPdf(f.model(), pdf.toStdString()), std::string());
        if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
            QProcess text;
            text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
            QVERIFY(text.waitForFinished(20000));
            const QString printed = QString::fromUtf8(text.readAllStandardOutput());
            QVERIFY2(printed.contains(QStringLiteral("Sensitivity y")), qPrintable(printed));
            QVERIFY(printed.contains(QStringLiteral("First order 95 %")));
        }

        w->variableBox()->setCurrentText(QStringLiteral("Failure event"));
        QVERIFY(f.model().resultWindows.sensitivity[0].event);
        QVERIFY(!Cell(grid, 0, TFrmSensitivity::colShift).isEmpty());
        QCOMPARE(Cell(grid, 0, TFrmSensitivity::colInput), QStringLiteral("a"));

        w->measureBox()->setCurrentIndex(static_cast<int>(SensitivityMeasure::MeanShift));
        QCOMPARE(f.model().resultWindows.sensitivity[0].measure,
                 static_cast<int>(SensitivityMeasure::MeanShift));
        QCOMPARE(w->chart()->scene().x.title, QStringLiteral("Mean shift (sd)"));

        f.model().Reset();
        QCOMPARE(grid->rowCount(), 0);
        QVERIFY(f.prompter.shown.empty());
    }

    void aWindowOpenedAfterTheRunAsksForAnotherRun() {
        Fixture f;
        TOutputTable& outputs = f.model().outputs();
        outputs.setCell(outputs.FindOutputRow("y"), colActivity, "Log");
        f.run();
        QVERIFY(outputs.inputLogs().empty()); // nothing asked for the inputs' values
        f.main->findChild<QAction*>("ItmSensitivity")->trigger();
        TFrmSensitivity* w = f.windows().window(0);
        QCOMPARE(w->grid()->rowCount(), 0);
        QVERIFY(w->note()->text().contains(QStringLiteral("run it again")));
    }

    void theWindowIsSavedWithTheProject() {
        Fixture f;
        f.main->findChild<QAction*>("ItmSensitivity")->trigger();
        const std::string text = ProjectText(f.model());
        QVERIFY(text.find("[Out.Sensitivity]\r\nVariable=y\r\nMeasure=First order\r\n") !=
                std::string::npos);
        f.windows().frame(0)->close();
        QVERIFY(f.model().resultWindows.sensitivity.empty());
        QCOMPARE(f.windows().count(), std::size_t{0});
    }

    void theWindowKeepsItsPlaceInTheLayoutFile() {
        Fixture f;
        f.main->findChild<QAction*>("ItmSensitivity")->trigger();
        const QRect placed(40, 50, 420, 310);
        f.windows().frame(0)->setGeometry(placed);
        const std::string project = f.dir.filePath("sens.pxw").toStdString();
        f.prompter.files.push_back(project);
        f.main->findChild<QAction*>("ItmSaveAs")->trigger();
        IniFile layout;
        QVERIFY(layout.load(f.dir.filePath("sens.ini").toStdString()));
        QCOMPARE(layout.readString("OutSens_1", "NormPos", ""), std::string("40,50,460,360"));

        f.windows().frame(0)->setGeometry(0, 0, 300, 200);
        f.prompter.files.push_back(project);
        f.main->findChild<QAction*>("ItmOpen")->trigger();
        QTRY_COMPARE(f.windows().count(), std::size_t{1});
        QTRY_COMPARE(f.windows().frame(0)->geometry(), placed);

        // The Window menu lists it beside the other result windows.
        auto* menu = f.main->findChild<QMenu*>("BarWindow");
        emit menu->aboutToShow();
        QCOMPARE(menu->actions().last()->text(), f.windows().frame(0)->windowTitle());
    }
};

QTEST_MAIN(TFrmSensitivityTest)
#include "TFrmSensitivityTest.moc"
