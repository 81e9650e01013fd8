#include "gui/app/ResultWindowManager.h"
#include "gui/app/TFrmMain.h"
#include "gui/components/Plot.h"
#include "gui/results/PQGridModel.h"
#include "gui/results/TFrmOut1D.h"
#include "gui/results/TFrmOutProb.h"
#include "gui/results/TFrmOutQuant.h"
#include "gui/results/TFrmOutStat.h"
#include "gui/simulation/TFrmOVars.h"
#include "settings/Settings.h"
#include "support/UiScriptedPrompter.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace probex;

namespace {

using Kind = ResultWindowKind;

/// The main window over a model whose input x is the step number; the equations are the
/// test's.
struct Fixture {
    QTemporaryDir dir;
    TSettings settings;
    test::UiScriptedPrompter prompter;
    std::unique_ptr<TFrmMain> main;

    explicit Fixture(std::vector<std::string> equations, int steps) {
        settings = MakeDefaultSettings(dir.path().toStdString() + "/");
        settings.DefOutVars = 1;
        main = std::make_unique<TFrmMain>(settings, prompter,
                                          dir.filePath("Probex.ini").toStdString());
        main->setErrorPopup(&prompter);
        main->show();
        model().equations = std::move(equations);
        model().inputs().AddInputVariable("x");
        model().inputs().commitCell(1, InputColumn::Type, "Step number");
        model().setLastStep(steps);
        QVERIFY(model().Compile());
    }
    ~Fixture() {
        if (!main) return;
        main->commands().markSaved(); // the tests' projects are thrown away unasked
        main->close();
    }

    ProjectModel& model() { return main->model(); }
    ResultWindowManager& windows() { return *main->resultWindows(); }
    void run() {
        QCOMPARE(model().RunStop(), ProjectModel::RunCommand::Started);
        QTRY_VERIFY_WITH_TIMEOUT(!model().running(), 20000);
        QVERIFY(model().resultsExist());
    }
    void setActivity(const char* name, const char* activity) {
        TOutputTable& outputs = model().outputs();
        outputs.setCell(outputs.FindOutputRow(name), colActivity, activity);
    }
    TFrmOutStat* stat(std::size_t i = 0) {
        return qobject_cast<TFrmOutStat*>(windows().window(Kind::Statistics, i));
    }
    TFrmOut1D* oneD(std::size_t i = 0) {
        return qobject_cast<TFrmOut1D*>(windows().window(Kind::OneD, i));
    }
    TFrmOutPQ* pq(Kind kind, std::size_t i = 0) {
        return qobject_cast<TFrmOutPQ*>(windows().window(kind, i));
    }
};

/// A person's entry in line `line` of a probability or quantile window's input column.
void TypeInput(TFrmOutPQ* window, int line, const QString& text) {
    PQGridModel* grid = window->gridModel();
    grid->setData(grid->index(line - 1, PQGridModel::InputColumn), text);
}

QString PQResult(TFrmOutPQ* window, int line) {
    return window->gridModel()->text(line, PQGridModel::ResultColumn);
}

QString Text(QLineEdit* edit) {
    return edit->text();
}

bool Blank(QLineEdit* edit) {
    return edit->text().isEmpty() && edit->palette().color(QPalette::Base) == QColor(192, 192, 192);
}

} // namespace

class ResultWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void statisticsWindowShowsTheRunAndBlanksCoVarAtMeanZero() {
        // -1, 0, 1: mean exactly 0.
        Fixture f({"y = x - 2"}, 3);
        f.main->findChild<QAction*>("ItmOutStat")->trigger();
        TFrmOutStat* w = f.stat();
        QVERIFY(w != nullptr);
        QCOMPARE(w->variable(), std::string("y"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Stat y"));
        f.run();
        QCOMPARE(Text(w->field(TFrmOutStat::Min)), QStringLiteral("-1.00000000"));
        QCOMPARE(Text(w->field(TFrmOutStat::Max)), QStringLiteral("1.00000000"));
        QCOMPARE(Text(w->field(TFrmOutStat::Mean)), QStringLiteral("0.00000000"));
        QVERIFY(Blank(w->field(TFrmOutStat::CoVar)));
        QCOMPARE(Text(w->field(TFrmOutStat::Sum)), QStringLiteral("0.00000000"));
        QCOMPARE(Text(w->stepsField()), QStringLiteral("3"));
        QVERIFY(w->field(TFrmOutStat::Min)->isReadOnly());

        // A reset blanks every value on silver.
        f.main->findChild<QAction*>("ItmReset")->trigger();
        QVERIFY(Blank(w->field(TFrmOutStat::Min)));
        QCOMPARE(Text(w->stepsField()), QStringLiteral("0"));
    }

    void constantVariableShrinksBothWindows() {
        Fixture f({"y = 0*x + 3"}, 5);
        f.windows().openForVariable(Kind::Statistics, "y");
        f.windows().openForVariable(Kind::OneD, "y");
        f.run();
        TFrmOutStat* s = f.stat();
        QCOMPARE(s->label(TFrmOutStat::Min)->text(), QStringLiteral("Value:"));
        QCOMPARE(Text(s->field(TFrmOutStat::Min)), QStringLiteral("3.00000000"));
        QVERIFY(s->field(TFrmOutStat::Max)->isHidden());
        QCOMPARE(s->height(), TFrmOutStat::ValueHeight);
        TFrmOut1D* d = f.oneD();
        QVERIFY(!d->constantLabel()->isHidden());
        QCOMPARE(d->constantLabel()->text(), QStringLiteral("Constant value: "));
        QCOMPARE(Text(d->constantField()), QStringLiteral("3.00000000"));
        QVERIFY(d->plot()->isHidden());
        QCOMPARE(d->height(), TFrmOut1D::ConstantHeight);
    }

    void constantVariableAnswersInTheProbabilityAndQuantileWindows() {
        Fixture f({"y = 0*x + 3"}, 5);
        f.windows().openForVariable(Kind::Probability, "y");
        f.windows().openForVariable(Kind::Quantile, "y");
        TFrmOutPQ* prob = f.pq(Kind::Probability);
        TFrmOutPQ* quant = f.pq(Kind::Quantile);
        TypeInput(prob, 1, "10");
        TypeInput(prob, 2, "-10");
        TypeInput(quant, 1, "0.5");
        f.run();
        // What Save results writes: the value as every quantile, 0 or 1 as a probability.
        QCOMPARE(PQResult(prob, 1), QStringLiteral("1.00000000"));
        QCOMPARE(PQResult(prob, 2), QStringLiteral("0.00000000"));
        QCOMPARE(PQResult(quant, 1), QStringLiteral("3.00000000"));
        QCOMPARE(PQResult(quant, 2), QStringLiteral("3.00000000"));
    }

    void oneWindowPerVariableAndClosingRenumbers() {
        Fixture f({"y = x", "z = 2*x"}, 10);
        f.windows().openForVariable(Kind::OneD, "y");
        f.windows().openForVariable(Kind::OneD, "z");
        QMdiSubWindow* first = f.windows().frame(Kind::OneD, 0);
        f.main->mdiArea()->setActiveSubWindow(f.windows().frame(Kind::OneD, 1));
        // "View variable" for y raises the window that shows it.
        f.windows().openForVariable(Kind::OneD, "y");
        QCOMPARE(f.windows().count(Kind::OneD), std::size_t(2));
        QCOMPARE(f.main->mdiArea()->activeSubWindow(), first);
        // The 1D window raised y's activity for the next run.
        QCOMPARE(f.model().outputs().cell(1, colActivity), std::string("Histogram"));

        first->close();
        QCOMPARE(f.model().resultWindows.oneD.size(), std::size_t(1));
        QCOMPARE(f.model().resultWindows.oneD[0].variable, std::string("z"));
        QCOMPARE(f.oneD()->index(), std::size_t(0));

        // Choosing z in a second window closes the first one showing it.
        f.windows().openForVariable(Kind::OneD, "y");
        f.oneD(1)->BoxVariableSet("z");
        QCOMPARE(f.windows().count(Kind::OneD), std::size_t(1));
        QCOMPARE(f.oneD()->variable(), std::string("z"));

        // A window whose variable leaves the output table closes.
        TFrmOVars* table = f.main->outVarsWindow();
        table->grid()->setCurrentIndex(
            table->grid()->model()->index(f.model().outputs().FindOutputRow("z") - 1, 0));
        table->deleteVariableAction()->trigger();
        QTRY_COMPARE(f.windows().count(Kind::OneD), std::size_t(0));
        QVERIFY(f.model().resultWindows.oneD.empty());
    }

    void windowMenuListsAndClosesTheWindows() {
        Fixture f({"y = x", "z = 2*x"}, 10);
        QTableView* grid = f.main->outVarsWindow()->grid();
        const int zRow = f.model().outputs().FindOutputRow("z");
        grid->setCurrentIndex(grid->model()->index(zRow - 1, 0));
        for (const char* item : {"ItmOutStat", "ItmOutStat", "ItmOutStat", "ItmOut1D"})
            f.main->findChild<QAction*>(item)->trigger();
        // The current row's z first, then y; then every named variable has a statistics
        // window, and the third command opens nothing.
        QCOMPARE(f.stat(0)->variable(), std::string("z"));
        QCOMPARE(f.stat(1)->variable(), std::string("y"));
        QCOMPARE(f.windows().count(Kind::Statistics), std::size_t(2));
        QCOMPARE(f.model().resultWindows.statistics.size(), std::size_t(2));
        QMenu* menu = f.main->findChild<QMenu*>("BarWindow");
        emit menu->aboutToShow();
        QStringList titles;
        for (QAction* item : menu->actions())
            titles << item->text();
        QVERIFY(titles.contains("Stat z"));
        QVERIFY(titles.contains("1D z"));
        f.main->findChild<QAction*>("ItmCloseAllRes")->trigger();
        QCOMPARE(f.windows().count(Kind::Statistics) + f.windows().count(Kind::OneD),
                 std::size_t(0));
        QVERIFY(f.model().resultWindows.statistics.empty());
        QVERIFY(f.model().resultWindows.oneD.empty());
    }

    void viewCommandsOpenNothingWhenEveryVariableHasAWindow() {
        Fixture f({"y = x"}, 10);
        for (const char* item : {"ItmOutStat", "ItmOut1D", "ItmProb", "Quantiles1"}) {
            QAction* view = f.main->findChild<QAction*>(item);
            view->trigger();
            view->trigger();
        }
        for (const Kind kind : {Kind::Statistics, Kind::OneD, Kind::Probability, Kind::Quantile}) {
            QCOMPARE(f.windows().count(kind), std::size_t(1));
            QCOMPARE(f.model().resultWindows.count(kind), std::size_t(1));
        }
        QVERIFY(f.prompter.shown.empty());
    }

    void marksOfAFourBinHistogram() {
        // 0, 4/3, 8/3, 4: rebuilt from the log over [0, 4] with 4 bins, one value in each.
        Fixture f({"y = (x - 1)*4/3"}, 4);
        f.settings.HistogramSize = 4;
        f.setActivity("y", "Log");
        f.model().outputs().setCell(1, colRecalculate, "Yes");
        TGrdOVarSup& record = f.model().outputs().record(1);
        record.markKinds = {true, true, true, false};
        record.markValues = {2.5L, 10, -1, 0.5L};
        f.windows().openForVariable(Kind::OneD, "y");
        TFrmOut1D* w = f.oneD();
        QVERIFY(w->recalculateBox()->isChecked());
        f.run();
        QCOMPARE(Text(w->probabilityEdit(0)), QStringLiteral("0.62500000"));
        QCOMPARE(Text(w->probabilityEdit(1)), QStringLiteral("1.00000000"));
        QCOMPARE(Text(w->probabilityEdit(2)), QStringLiteral("0.00000000"));
        QCOMPARE(Text(w->quantileEdit(3)), QStringLiteral("2.00000000"));
        QVERIFY(w->probabilityEdit(0)->isReadOnly());
        QCOMPARE(w->plot()->marker(0).value, 2.5);

        // Probabilities 1 and 0 give the ends.
        w->probabilityEdit(3)->setText("1");
        emit w->probabilityEdit(3)->editingFinished();
        QCOMPARE(Text(w->quantileEdit(3)), QStringLiteral("4.00000000"));
        w->probabilityEdit(3)->setText("0");
        emit w->probabilityEdit(3)->editingFinished();
        QCOMPARE(Text(w->quantileEdit(3)), QStringLiteral("0.00000000"));
        QCOMPARE(record.markValues[3], Extended(0));

        // Switched to a value mark, the number in the value edit becomes the input.
        w->quantileEdit(3)->setText("2");
        w->markBox(3)->setChecked(true);
        QCOMPARE(Text(w->probabilityEdit(3)), QStringLiteral("0.50000000"));
        QVERIFY(record.markKinds[3]);
        QCOMPARE(record.markValues[3], Extended(2));
        QCOMPARE(f.model().resultWindows.oneD[0].markKinds[3], true);

        // Text that is no number keeps the mark.
        w->quantileEdit(3)->setText("abc");
        emit w->quantileEdit(3)->editingFinished();
        QCOMPARE(f.prompter.shown.size(), std::size_t(1));
        QCOMPARE(record.markValues[3], Extended(2));

        // The quantile function turns the markers horizontal.
        QCOMPARE(w->plot()->marker(0).orientation, Qt::Vertical);
        w->graphMenu()->actions().at(2)->trigger();
        QCOMPARE(w->graphKind(), TFrmOut1D::QuantileFunction);
        for (int k = 0; k < TFrmOut1D::MarkCount; ++k)
            QCOMPARE(w->plot()->marker(k).orientation, Qt::Horizontal);
        QCOMPARE(w->plot()->series(0).kind, PlotSeriesKind::Line);
    }

    void refreshesFollowTheSettings() {
        Fixture f({"y = x"}, 2000);
        f.settings.RefreshRateStat = 100;
        f.windows().openForVariable(Kind::Statistics, "y");
        f.windows().openForVariable(Kind::OneD, "y");
        TFrmOutStat* s = f.stat();
        QVERIFY(!s->variableBox()->isEnabled() || !f.model().running());
        f.run();
        QVERIFY(s->variableBox()->isEnabled());
        QCOMPARE(Text(f.oneD()->field(TFrmOut1D::Median)).isEmpty(), false);
        QVERIFY(!f.oneD()->plot()->series(0).points.isEmpty());
        // A refresh at the level "Min,Max" shows no moments, and goes to statistics only.
        f.settings.RefreshStatStat = 0;
        f.windows().refreshStatistics(2000);
        QVERIFY(Blank(s->field(TFrmOutStat::Mean)));
        QCOMPARE(Text(s->field(TFrmOutStat::Max)), QStringLiteral("2000.00000000"));
        QVERIFY(!Blank(f.oneD()->field(TFrmOut1D::Mean)));
    }

    void projectKeepsItsWindows() {
        Fixture f({"y = x", "z = 2*x"}, 10);
        f.windows().openForVariable(Kind::Statistics, "z");
        f.windows().openForVariable(Kind::OneD, "y");
        f.stat()->commentEdit()->setText("stat of z");
        emit f.stat()->commentEdit()->textEdited("stat of z");
        TFrmOut1D* d = f.oneD();
        d->discreteBox()->setChecked(true);
        d->markBox(1)->setChecked(false);
        d->probabilityEdit(1)->setText("0.25");
        emit d->probabilityEdit(1)->editingFinished();
        f.windows().frame(Kind::Statistics, 0)->move(30, 40);
        const std::string file = f.dir.filePath("p.pxw").toStdString();
        QVERIFY(f.main->commands().SaveAs(file));
        const TResultWindows saved = f.model().resultWindows;
        QCOMPARE(saved.oneD[0].markValues[1], Extended(0.25L));
        QVERIFY(saved.oneD[0].discrete);

        f.main->ItmNewClick();
        QCOMPARE(f.windows().count(Kind::Statistics), std::size_t(0));
        QVERIFY(f.main->commands().Open(file));
        QVERIFY(f.model().resultWindows.sameWindows(saved));
        QCOMPARE(f.stat()->commentEdit()->text(), QStringLiteral("stat of z"));
        QCOMPARE(f.oneD()->variable(), std::string("y"));
        QVERIFY(f.oneD()->discreteBox()->isChecked());
        QVERIFY(!f.oneD()->markBox(1)->isChecked());
        QCOMPARE(Text(f.oneD()->probabilityEdit(1)), QStringLiteral("0.25000000"));
        QCOMPARE(f.windows().frame(Kind::Statistics, 0)->pos(), QPoint(30, 40));
        QVERIFY(f.prompter.shown.empty());
    }

    void probabilityAndQuantileWindowsFromTheViewMenuFollowTheRun() {
        Fixture f({"y = x - 0.5", "z = 2*x"}, 4);
        QTableView* table = f.main->outVarsWindow()->grid();
        table->setCurrentIndex(
            table->model()->index(f.model().outputs().FindOutputRow("y") - 1, 0));
        f.main->findChild<QAction*>("ItmProb")->trigger();
        f.main->findChild<QAction*>("Quantiles1")->trigger();
        TFrmOutPQ* prob = f.pq(Kind::Probability);
        TFrmOutPQ* quant = f.pq(Kind::Quantile);
        QVERIFY(qobject_cast<TFrmOutProb*>(prob) && qobject_cast<TFrmOutQuant*>(quant));
        QCOMPARE(prob->windowTitle(), QStringLiteral("Probabilities y"));
        QCOMPARE(f.windows().frame(Kind::Probability, 0)->widget()->size(), prob->sizeHint());
        TypeInput(prob, 1, "100");
        TypeInput(prob, 2, "-100");
        TypeInput(quant, 1, "0.25");
        TypeInput(quant, 2, "0.75");
        QCOMPARE(PQResult(prob, 1), QString());
        f.run();
        QVERIFY(prob->grid()->isEnabled());
        QCOMPARE(PQResult(prob, 1), QStringLiteral("1.00000000"));
        QCOMPARE(PQResult(prob, 2), QStringLiteral("0.00000000"));
        QVERIFY(PQResult(quant, 1).toDouble() < PQResult(quant, 2).toDouble());

        // "Discrete" in one window reaches the other window of the variable.
        prob->discreteBox()->click();
        QVERIFY(quant->discreteBox()->isChecked());
        QVERIFY(f.model().resultWindows.quantiles[0].discrete);

        // A second window choosing y takes it over from the first.
        f.main->findChild<QAction*>("ItmProb")->trigger();
        TFrmOutPQ* second = f.pq(Kind::Probability, 1);
        QCOMPARE(second->variableName(), QStringLiteral("z"));
        QComboBox* box = second->variableBox();
        box->setCurrentIndex(box->findText("y"));
        emit box->activated(box->currentIndex());
        QCOMPARE(f.windows().count(Kind::Probability), std::size_t(1));
        QCOMPARE(f.pq(Kind::Probability)->variableName(), QStringLiteral("y"));
        QCOMPARE(f.model().resultWindows.probabilities[0].inputs[0], Extended(100));
        QCOMPARE(PQResult(f.pq(Kind::Probability), 1), QStringLiteral("1.00000000"));
        QVERIFY(f.prompter.shown.empty());

        // The 1D window's graph menu offers the plot's picture commands.
        f.windows().openForVariable(Kind::OneD, "z");
        QVERIFY(f.oneD()->graphMenu()->findChild<QAction*>("ItmExportSvg"));
    }

    void projectKeepsProbabilityAndQuantileWindows() {
        Fixture f({"y = x"}, 10);
        f.windows().openForVariable(Kind::Quantile, "y");
        TFrmOutPQ* quant = f.pq(Kind::Quantile);
        TypeInput(quant, 3, "0.9");
        QTest::keyClicks(quant->commentLine(), "upper tail");
        quant->discreteBox()->click();
        const std::string file = f.dir.filePath("pq.pxw").toStdString();
        QVERIFY(f.main->commands().SaveAs(file));
        const TResultWindows saved = f.model().resultWindows;

        f.main->ItmNewClick();
        QCOMPARE(f.windows().count(Kind::Quantile), std::size_t(0));
        QVERIFY(f.main->commands().Open(file));
        QVERIFY(f.model().resultWindows.sameWindows(saved));
        quant = f.pq(Kind::Quantile);
        QVERIFY(quant != nullptr);
        QCOMPARE(quant->windowTitle(), QStringLiteral("Quantiles y"));
        QCOMPARE(quant->gridModel()->text(3, PQGridModel::InputColumn),
                 QStringLiteral("0.90000000"));
        QCOMPARE(quant->commentLine()->text(), QStringLiteral("upper tail"));
        QVERIFY(quant->discreteBox()->isChecked());
        QVERIFY(f.prompter.shown.empty());
    }
};

QTEST_MAIN(ResultWindowsTest)
#include "ResultWindowsTest.moc"
