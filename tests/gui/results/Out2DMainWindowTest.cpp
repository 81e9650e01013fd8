#include "gui/app/ResultWindowManager.h"
#include "gui/app/TFrmMain.h"
#include "gui/engine/TFrmOutEquations.h"
#include "gui/results/Picture2DCanvas.h"
#include "gui/results/TFrmOut2D.h"
#include "gui/simulation/OutputTableModel.h"
#include "gui/simulation/TFrmOVars.h"
#include "settings/Settings.h"
#include "support/UiScriptedPrompter.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace probex;

/// 2D windows in the main window: opened from the View menu and from project files, redrawn
/// at the end of a run and after an evaluation, resting during a run.
class Out2DMainWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    TSettings m_settings;
    test::UiScriptedPrompter m_prompter;
    std::unique_ptr<TFrmMain> m_main;

    ProjectModel& model() { return m_main->model(); }
    TFrmOut2D* window(std::size_t i = 0) {
        return qobject_cast<TFrmOut2D*>(m_main->resultWindows()->window(ResultWindowKind::TwoD, i));
    }
    static void choose(TFrmOut2D* w, const char* box, const char* name) {
        auto* combo = w->findChild<QComboBox*>(box);
        combo->setCurrentIndex(combo->findText(name));
        emit combo->activated(combo->currentIndex());
    }
    void run() {
        QCOMPARE(model().RunStop(), ProjectModel::RunCommand::Started);
        QTRY_VERIFY_WITH_TIMEOUT(!model().running(), 20000);
        QVERIFY(model().resultsExist());
    }

private slots:
    void init() {
        m_settings = MakeDefaultSettings(m_dir.path().toStdString() + "/");
        m_prompter = {};
        m_main = std::make_unique<TFrmMain>(m_settings, m_prompter,
                                            m_dir.filePath("Probex.ini").toStdString());
        m_main->setErrorPopup(&m_prompter);
        m_main->show();
        model().equations = {"x = n", "y = n*n"};
        model().inputs().AddInputVariable("n");
        model().inputs().commitCell(1, InputColumn::Type, "Step number");
        model().setLastStep(5);
        QVERIFY(model().Compile());
    }
    void cleanup() {
        m_main->commands().markSaved(); // the tests' projects are thrown away unasked
        m_main->close();
        m_main.reset();
        QVERIFY2(!m_prompter.unexpected, "an unexpected box appeared");
    }

    void viewMenuOpensAWindowThatTheRunRedraws() {
        QAction* item = m_main->findChild<QAction*>("ItmOut2D");
        QVERIFY(item->isEnabled());
        item->trigger();
        TFrmOut2D* w = window();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("2D  & "));
        choose(w, "BoxVariableH", "x");
        choose(w, "BoxVariableV", "y");
        // The choices make both variables logged for the run.
        TOutputTable& outputs = model().outputs();
        QCOMPARE(outputs.cell(outputs.FindOutputRow("y"), colActivity), std::string("Log"));
        QCOMPARE(model().RunStop(), ProjectModel::RunCommand::Started);
        QVERIFY(!w->findChild<QComboBox*>("BoxVariableH")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!model().running(), 20000);
        QVERIFY(w->findChild<QComboBox*>("BoxVariableH")->isEnabled());
        w->finishBuilding();
        QCOMPARE(w->findChild<QLabel*>("LSteps")->text(), QStringLiteral("5"));
        QCOMPARE(w->grid().occupied().size(), std::size_t{5});
        // Listed in the Window menu under its caption.
        QMenu* menu = m_main->findChild<QMenu*>("BarWindow");
        emit menu->aboutToShow();
        bool listed = false;
        for (QAction* action : menu->actions())
            listed = listed || action->iconText() == QStringLiteral("2D x & y");
        QVERIFY(listed);

        // A reset clears the picture; a changed output table closes the window whose
        // variable is gone.
        m_main->findChild<QAction*>("ItmReset")->trigger();
        QVERIFY(!w->scale().valid);
        model().equations = {"x = n"};
        QVERIFY(model().Compile());
        QAbstractItemModel* table = m_main->outVarsWindow()->tableModel();
        table->setData(table->index(outputs.FindOutputRow("y") - 1, colVariable), QString());
        QTRY_COMPARE(m_main->resultWindows()->count(ResultWindowKind::TwoD), std::size_t{0});
    }

    void evaluationRedrawsAProbabilityPictureAndProjectsKeepIt() {
        model().outEquationLines = {"0 > y - 10"};
        model().outEquations().setMode(OutEvalMode::Probability);
        T2DWindowDesc desc{"x", "y", "pair", ColourProb, true, false, true};
        model().resultWindows.open(desc);
        TFrmOut2D* w = window();
        QVERIFY(w);
        model().resultWindows.objects.record(w->objectsIndex()).DotCount = 1;
        model().resultWindows.objects.record(w->objectsIndex()).Dots[0] = {3, 9, 2, 0xFF};
        for (const char* name : {"x", "y"})
            model().outputs().setCell(model().outputs().FindOutputRow(name), colActivity, "Log");
        run();
        w->finishBuilding();
        w->clearResults();
        m_main->ItmEvalClick();
        QVERIFY(w->scale().valid);
        w->finishBuilding();
        QCOMPARE(w->grid().miss(255, 255), 1); // n = 5 misses the condition
        QCOMPARE(w->canvas()->overlayCount(), 1);

        const std::string file = m_dir.filePath("p.pxw").toStdString();
        QVERIFY(m_main->commands().SaveAs(file));
        const TResultWindows saved = model().resultWindows;
        m_main->ItmNewClick();
        QCOMPARE(m_main->resultWindows()->count(ResultWindowKind::TwoD), std::size_t{0});
        QVERIFY(m_main->commands().Open(file));
        QVERIFY(model().resultWindows.sameWindows(saved));
        QCOMPARE(model().resultWindows.objects, saved.objects);
        TFrmOut2D* back = window();
        QVERIFY(back);
        QCOMPARE(back->windowTitle(), QStringLiteral("2D x & y"));
        QVERIFY(back->findChild<QRadioButton*>("RBColourationProb")->isChecked());
        QVERIFY(m_prompter.shown.empty());
    }
};

QTEST_MAIN(Out2DMainWindowTest)
#include "Out2DMainWindowTest.moc"
