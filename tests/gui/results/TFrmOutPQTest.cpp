#include "gui/results/PQGridModel.h"
#include "gui/results/ResultWindowFactory.h"
#include "gui/results/TFrmOutProb.h"
#include "gui/results/TFrmOutQuant.h"
#include "model/ProjectModel.h"
#include "settings/Settings.h"
#include "simulation/HisCompute.h"
#include "simulation/OutHis.h"
#include "support/UiScriptedPrompter.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <memory>

using namespace probex;

namespace {

/// One value in each of four bins over [0, 4].
std::unique_ptr<TOutHis> FourBinHistogram() {
    auto his = std::make_unique<TOutHis>();
    if (!HisAllocate(*his, 4)) return nullptr;
    HisReset(*his);
    HisSetRange(*his, 4, 0);
    his->counts = {1, 1, 1, 1};
    return his;
}

} // namespace

class TFrmOutPQTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TSettings> m_settings;
    test::UiScriptedPrompter m_prompter;
    DirectCall m_direct;
    std::unique_ptr<ProjectModel> m_model;

    TOutputTable& outputs() { return m_model->outputs(); }

    /// A window of the kind over a description of "y" pushed into its list.
    std::unique_ptr<TFrmOutPQ> open(ResultWindowKind kind, const std::string& variable = "y") {
        auto& list = kind == ResultWindowKind::Probability ? m_model->resultWindows.probabilities
                                                           : m_model->resultWindows.quantiles;
        TPQWindowDesc desc;
        desc.variable = variable;
        list.push_back(desc);
        auto* window = static_cast<TFrmOutPQ*>(CreateResultWindow(*m_model, kind, list.size() - 1));
        return std::unique_ptr<TFrmOutPQ>(window);
    }

    /// The run's histogram of "y", as a finished run leaves it.
    TOutHis& runHistogram() {
        TOutVar& var = outputs().runTable().append(1, 0);
        var.His = FourBinHistogram();
        return *var.His;
    }

    static void type(TFrmOutPQ& window, int line, const QString& text) {
        PQGridModel* grid = window.gridModel();
        grid->setData(grid->index(line - 1, PQGridModel::InputColumn), text);
    }
    static QString result(TFrmOutPQ& window, int line) {
        return window.gridModel()->text(line, PQGridModel::ResultColumn);
    }
    static QString input(TFrmOutPQ& window, int line) {
        return window.gridModel()->text(line, PQGridModel::InputColumn);
    }

private slots:
    void init() {
        m_settings = std::make_unique<TSettings>(MakeDefaultSettings("/nonexistent/"));
        m_prompter = {};
        m_model = std::make_unique<ProjectModel>(*m_settings, m_prompter, m_direct);
        outputs().AddOutputVariable("y", true);
        outputs().setCell(1, colActivity, "Histogram");
        outputs().AddOutputVariable("z", true);
        outputs().setCell(2, colActivity, "Inactive");
    }

    void resultsOfTheFourBinHistogram_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QStringList>("results");
        QTest::newRow("probabilities")
            << int(ResultWindowKind::Probability) << QStringList{"2.5", "10", "-1"}
            << QStringList{"0.62500000", "1.00000000", "0.00000000"};
        QTest::newRow("quantiles")
            << int(ResultWindowKind::Quantile) << QStringList{"0.5", "1.5", "0"}
            << QStringList{"2.00000000", "4.00000000", "0.00000000"};
    }
    void resultsOfTheFourBinHistogram() {
        QFETCH(int, kind);
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, results);
        runHistogram();
        const auto window = open(static_cast<ResultWindowKind>(kind));
        const bool quantiles = kind == int(ResultWindowKind::Quantile);
        QCOMPARE(window->windowTitle(), quantiles ? "Quantiles y" : "Probabilities y");
        for (int line = 1; line <= 3; ++line) {
            type(*window, line, inputs[line - 1]);
            QCOMPARE(result(*window, line), results[line - 1]);
        }
        // Kept in the variable's record and in the description the project file writes.
        const TGrdOVarSup& record = outputs().record(1);
        const auto& stored = quantiles ? record.quantProbs : record.probValues;
        const auto& desc = quantiles ? m_model->resultWindows.quantiles[0]
                                     : m_model->resultWindows.probabilities[0];
        QCOMPARE(double(stored[0]), inputs[0].toDouble());
        QCOMPARE(double(desc.inputs[2]), inputs[2].toDouble());

        // A refresh recomputes every line from the histogram as it stands now.
        window->clearResults();
        QCOMPARE(result(*window, 1), QString());
        window->refreshDuringRun(1000);
        QCOMPARE(result(*window, 1), results[0]);
        QCOMPARE(result(*window, 4), QString("0.00000000"));
    }

    void aCellThatIsNotANumberBecomesZero() {
        runHistogram();
        const auto window = open(ResultWindowKind::Probability);
        type(*window, 2, "2.5");
        type(*window, 2, "abc");
        QCOMPARE(m_prompter.take(Prompter::Kind::Error), std::string("abc is not a valid number!"));
        QCOMPARE(input(*window, 2), QString("0.0"));
        QCOMPARE(result(*window, 2), QString("0.00000000"));
        QCOMPARE(double(outputs().record(1).probValues[1]), 0.0);
        QCOMPARE(double(m_model->resultWindows.probabilities[0].inputs[1]), 0.0);
    }

    void moreLinesShowTheStoredInputsAndTheirResults() {
        runHistogram();
        outputs().record(1).probValues[17] = 3; // line 18, beyond the 16 shown
        const auto window = open(ResultWindowKind::Probability);
        QCOMPARE(window->gridModel()->lineCount(), 16);
        const int heightOf16 = window->sizeHint().height();
        m_settings->PQLines = 20;
        window->settingsChanged();
        QCOMPARE(window->gridModel()->lineCount(), 20);
        QCOMPARE(input(*window, 18), QString("3.00000000"));
        QCOMPARE(result(*window, 18), QString("0.75000000"));
        QCOMPARE(input(*window, 20), QString("0.00000000"));
        QCOMPARE(result(*window, 20), QString("0.00000000"));
        QVERIFY(window->sizeHint().height() > heightOf16 && window->sizeHint().height() <= 500);

        // Without a run table the new lines' results stay blank.
        outputs().FreeOutputs();
        m_settings->PQLines = 22;
        window->settingsChanged();
        QCOMPARE(input(*window, 21), QString("0.00000000"));
        QCOMPARE(result(*window, 21), QString());
    }

    void selectionCopiesAsTwoTabSeparatedColumns() {
        runHistogram();
        const auto window = open(ResultWindowKind::Probability);
        type(*window, 1, "2.5");
        type(*window, 2, "1");
        window->grid()->selectAll();
        window->findChild<QAction*>("ItmCopy")->trigger();
        const QStringList lines = QGuiApplication::clipboard()->text().split('\n');
        QCOMPARE(lines.size(), 17); // 16 lines and the empty rest after the last newline
        QCOMPARE(lines[0], QString("2.5\t0.62500000"));
        QCOMPARE(lines[1], QString("1\t0.25000000"));
        QCOMPARE(lines[15], QString("0.00000000\t0.00000000"));

        window->grid()->selectionModel()->clearSelection();
        const QModelIndex result1 = window->gridModel()->index(0, PQGridModel::ResultColumn);
        window->grid()->selectionModel()->select(result1, QItemSelectionModel::Select);
        window->findChild<QAction*>("ItmCopy")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("0.62500000\n"));
    }

    void discreteSwitchReachesTheCellTheHistogramAndTheOtherWindows() {
        TOutHis& his = runHistogram();
        const auto probabilities = open(ResultWindowKind::Probability);
        const auto quantiles = open(ResultWindowKind::Quantile);
        probabilities->show();
        quantiles->show();
        type(*probabilities, 1, "2.5");
        type(*quantiles, 1, "0.5");
        probabilities->discreteBox()->click();
        QCOMPARE(outputs().cell(1, colDiscrete), std::string("Yes"));
        QVERIFY(his.discrete);
        // Discrete bins stand for the points 0, 4/3, 8/3 and 4.
        QCOMPARE(result(*probabilities, 1), QString("0.50000000"));
        quantiles->outputRowChanged(1); // as the main window passes the edit on
        QVERIFY(quantiles->discreteBox()->isChecked());
        QCOMPARE(result(*quantiles, 1), QString("1.33333333"));
        QVERIFY(m_model->resultWindows.probabilities[0].discrete);
        QVERIFY(m_model->resultWindows.quantiles[0].discrete);
    }

    void choosingAVariableTellsTheMainWindow() {
        const auto window = open(ResultWindowKind::Probability, "");
        QCOMPARE(window->windowTitle(), QString("Probabilities"));
        QCOMPARE(input(*window, 16), QString("0.0"));
        QSignalSpy chosen(window.get(), &TFrmResult::variableChosen);
        QComboBox* box = window->variableBox();
        box->setCurrentIndex(box->findText("y"));
        emit box->activated(box->currentIndex());
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(m_model->resultWindows.probabilities[0].variable, std::string("y"));
        QCOMPARE(window->windowTitle(), QString("Probabilities y"));
        QCOMPARE(input(*window, 16), QString("0.00000000"));
    }

    void withoutResultsChoosingRaisesTheActivityAndTheCommentIsKept() {
        const auto window = open(ResultWindowKind::Quantile, "z");
        QCOMPARE(outputs().cell(2, colActivity), std::string("Histogram"));
        QCOMPARE(input(*window, 1), QString("0.00000000"));
        QCOMPARE(result(*window, 1), QString());
        QTest::keyClicks(window->commentLine(), "load case");
        QCOMPARE(outputs().record(2).windowIds[owQuantile], std::string("load case"));
        QCOMPARE(m_model->resultWindows.quantiles[0].identification, std::string("load case"));

        window->setRunning(true);
        QVERIFY(!window->variableBox()->isEnabled() && !window->discreteBox()->isEnabled() &&
                !window->grid()->isEnabled());
        window->setRunning(false);
        QVERIFY(window->grid()->isEnabled());

        // A refill without the variable closes the window.
        QSignalSpy closing(window.get(), &TFrmResult::closeRequested);
        window->refillVariableBoxes(0);
        QCOMPARE(closing.count(), 0);
        outputs().DelVar(2);
        window->refillVariableBoxes(0);
        QCOMPARE(closing.count(), 1);
    }
};

QTEST_MAIN(TFrmOutPQTest)
#include "TFrmOutPQTest.moc"
