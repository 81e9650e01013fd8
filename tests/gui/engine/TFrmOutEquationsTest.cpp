#include "gui/engine/TFrmOutEquations.h"

#include "gui/components/ColouringEditor.h"
#include "gui/components/Plot.h"
#include "gui/components/QtMainThread.h"
#include "gui/engine/EquErrPrompter.h"
#include "gui/reliability/TDesignPointView.h"
#include "model/ProjectModel.h"
#include "settings/Settings.h"
#include "support/UiScriptedPrompter.h"
#include "variables/Distributions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>

using namespace probex;

namespace {

/// y = x with x the step number, logged over 1000 steps.
struct OutFixture {
    TSettings settings = MakeDefaultSettings("/tmp/");
    test::UiScriptedPrompter prompter;
    QtMainThread mainThread;
    EquErrPrompter errors{prompter, &prompter};
    std::unique_ptr<ProjectModel> model;
    std::unique_ptr<TFrmOutEquations> window;

    OutFixture() {
        settings.DefOutVars = 3;
        model = std::make_unique<ProjectModel>(settings, errors, mainThread);
        model->equations = {"y = x"};
        model->inputs().AddInputVariable("x");
        model->inputs().commitCell(1, InputColumn::Type, "Step number");
        window = std::make_unique<TFrmOutEquations>(*model, errors);
        window->show();
    }

    void click(const char* name) { window->findChild<QAbstractButton*>(name)->click(); }
    QLineEdit* field(const char* name) { return window->field(name); }
    void typeOut(const char* text) {
        window->editor()->selectAll();
        QTest::keyClicks(window->editor(), text);
    }
    void run() {
        model->RunStop();
        QTRY_VERIFY_WITH_TIMEOUT(!model->running(), 20000);
        QVERIFY(model->resultsExist());
    }
};

QColor Base(QWidget* w) {
    return w->palette().color(QPalette::Base);
}

} // namespace

class TFrmOutEquationsTest : public QObject {
    Q_OBJECT

private slots:
    void modesEnableTheParameterFields() {
        OutFixture f;
        QVERIFY(f.window->findChild<QRadioButton*>("RBInactive")->isChecked());
        QVERIFY(!f.field("EdtParName")->isEnabled());
        QCOMPARE(Base(f.window->editor()), QColor(Qt::lightGray));
        f.click("RBParameter");
        QCOMPARE(f.model->outEquations().evalSettings().Mode, OutEvalMode::Parameter);
        for (const char* name :
             {"EdtParName", "EdtParMin", "EdtParMax", "EdtTargetProb", "EdtMaxIter", "EdtMaxDiff"})
            QVERIFY2(f.field(name)->isEnabled(), name);
        QCOMPARE(f.field("EdtMaxIter")->text(), QStringLiteral("50"));
        QCOMPARE(f.field("EdtTargetProb")->text(), QStringLiteral("0.5"));
        QTest::keyClicks(f.field("EdtParName"), "  p ");
        QCOMPARE(f.model->outEquations().evalSettings().ParName, std::string("p"));
        f.field("EdtParMax")->clear();
        QTest::keyClicks(f.field("EdtParMax"), "12.5");
        QCOMPARE(static_cast<double>(f.model->outEquations().evalSettings().ParMax), 12.5);
        f.click("RBProb");
        QVERIFY(!f.field("EdtParMin")->isEnabled());
        QVERIFY(Base(f.window->editor()) != QColor(Qt::lightGray));
    }

    void probabilityAfterTheRunAndClearedByAnEdit() {
        OutFixture f;
        f.click("RBProb");
        f.typeOut("0 > y - 250");
        QCOMPARE(f.model->outEquationLines, std::vector<std::string>{"0 > y - 250"});
        f.click("BtnStart");
        QCOMPARE(f.prompter.take(Prompter::Kind::Warning), std::string("Run simulations first!"));
        QVERIFY(f.field("EdtResult")->text().isEmpty());
        f.run(); // the end of the run evaluates them
        QCOMPARE(f.field("EdtResult")->text(), QStringLiteral("0.24900000"));
        QCOMPARE(Base(f.field("EdtResult")), SettingsColour(f.settings.ResultsColor));

        QTest::keyClick(f.window->editor(), Qt::Key_Space);
        QVERIFY(f.field("EdtResult")->text().isEmpty());
        QCOMPARE(Base(f.field("EdtResult")), QColor(Qt::lightGray));
        QVERIFY(!f.model->outEquations().compiled());

        f.click("BtnStart");
        QCOMPARE(f.field("EdtResult")->text(), QStringLiteral("0.24900000"));
        QVERIFY(f.prompter.shown.empty());
    }

    void precisionAndConvergenceFollowTheRunAndTheStopRuleEndsIt() {
        OutFixture f;
        f.settings.RefreshRatePQ = 100;
        f.click("RBProb");
        f.typeOut("0 > y - 250");
        f.run();
        QCOMPARE(f.field("EdtSteps")->text(), QStringLiteral("1000"));
        QCOMPARE(f.field("EdtCount")->text(), QStringLiteral("249"));
        const TProbabilityEstimate e = EstimateProbability(249, 1000);
        QCOMPARE(f.field("EdtInterval")->text(),
                 QString::fromStdString(FormatIntervalBound(e.Lower, e.Upper - e.Lower, '.') + " " +
                                        FormatIntervalBound(e.Upper, e.Upper - e.Lower, '.')));
        QCOMPARE(f.field("EdtCoV")->text(), QStringLiteral("5.5 %"));
        // One point per refresh, steps on a log axis; all of the first 100 steps count.
        TPlot* graph = f.window->convergenceGraph();
        QVERIFY(graph->scene().x.logarithmic);
        const TPlotSeries& estimate = graph->series(2);
        QCOMPARE(estimate.points.size(), 10);
        QCOMPARE(estimate.points.first(), QPointF(100, 1));
        QCOMPARE(estimate.points.at(2), QPointF(300, 249.0 / 300));
        QCOMPARE(graph->series(0).points.at(2).y(),
                 static_cast<double>(EstimateProbability(249, 300).Lower));

        QVERIFY(!f.field("EdtMinSteps")->text().isEmpty());
        f.window->findChild<QCheckBox*>("ChBStopRule")->click();
        f.field("EdtTargetCoV")->clear();
        QTest::keyClicks(f.field("EdtTargetCoV"), "3");
        f.field("EdtMinSteps")->clear();
        QTest::keyClicks(f.field("EdtMinSteps"), "250");
        const TOutEvalSettings& eval = f.model->outEquations().evalSettings();
        QVERIFY(eval.StopRule);
        QCOMPARE(static_cast<double>(eval.TargetCoV), 3.0);
        QCOMPARE(eval.MinSteps, 250);
        f.model->Reset();
        // CoV sqrt((7/256) / 249) = 1.0 % at step 256, the first block of 8 steps after 250
        // steps, though the next probability refresh comes at 300.
        f.run();
        QCOMPARE(f.model->stepCounter(), 256);
        QCOMPARE(f.field("EdtResult")->text(), QStringLiteral("0.97265625"));
        QCOMPARE(f.model->stopRuleReason(), std::string("Stopped at step 256: CoV 1.0 % reached "
                                                        "the target 3 %"));
        QVERIFY(f.prompter.shown.empty());
    }

    void parameterSearchShowsEveryIteration() {
        OutFixture f;
        f.click("RBParameter");
        f.typeOut("0 > y - p");
        const auto set = [&](const char* name, const char* text) {
            f.field(name)->clear();
            QTest::keyClicks(f.field(name), text);
        };
        set("EdtParName", "p");
        set("EdtParMin", "0");
        set("EdtParMax", "1000");
        set("EdtTargetProb", "0.5");
        set("EdtMaxDiff", "0.0001");
        f.run();
        QSignalSpy shown(f.window.get(), &TFrmOutEquations::iterationShown);
        QVERIFY(f.window->BtnStartClick());
        QVERIFY(shown.size() >= 3);
        QCOMPARE(shown.last().at(0).toInt(), shown.size());
        QCOMPARE(f.field("EdtIteration")->text(), QString::number(shown.size()));
        const double result = f.field("EdtResult")->text().toDouble();
        QVERIFY2(result > 500 && result <= 501, qPrintable(f.field("EdtResult")->text()));
        QCOMPARE(f.field("EdtDiff")->text(), QStringLiteral("0"));
        QVERIFY(f.prompter.shown.empty());
    }

    void errorsGoToTheBarAndThePopup() {
        OutFixture f;
        f.click("RBProb");
        f.typeOut("0 > y");
        f.run();
        f.typeOut("0 > z");
        QVERIFY(!f.window->BtnStartClick());
        QCOMPARE(f.window->barError()->currentMessage(), QStringLiteral("Unknown variable z!"));
        QCOMPARE(f.prompter.popups.size(), std::size_t{1});
        QCOMPARE(f.prompter.popups[0].caption, std::string("Out equations error"));
        QCOMPARE(f.prompter.popups[0].message, std::string("Unknown variable z!"));

        f.typeOut("0 < y < 2");
        QVERIFY(!f.window->BtnStartClick());
        QCOMPARE(f.window->barError()->currentMessage(),
                 QStringLiteral("Illegal character: line 1 at \"< 2\""));
        QCOMPARE(f.window->editor()->textCursor().positionInBlock(), 7);
        QCOMPARE(f.prompter.popups.size(), std::size_t{2});
        QVERIFY(f.prompter.shown.empty());
    }

    void methodEvaluatesWithoutARunAndShowsTheDesignPoint() {
        OutFixture f;
        f.click("RBProb");
        f.typeOut("0 > y - 1");
        f.window->findChild<QComboBox*>("CBMethod")->setCurrentIndex(1);
        QCOMPARE(f.model->outEquations().evalSettings().Reliability.Method,
                 ReliabilityMethod::Form);
        // The step-number input cannot take part.
        QVERIFY(!f.window->BtnStartClick());
        QCOMPARE(f.window->barError()->currentMessage(),
                 QStringLiteral("Input variable x is a step number: it cannot take part in FORM!"));
        f.model->inputs().commitCell(1, InputColumn::Type, "Normal");
        TIis& x = f.model->inputs().record(1);
        x.Min = -100;
        x.Max = 100;
        x.Mean = 0;
        x.StDev = 1;
        QCOMPARE(CheckParameters(x), std::string());
        QVERIFY(f.window->BtnStartClick());
        QTRY_VERIFY_WITH_TIMEOUT(!f.model->running(), 20000);
        QVERIFY(!f.model->resultsExist());
        QCOMPARE(f.field("EdtResult")->text(), QStringLiteral("0.84134475")); // Φ(1)
        QCOMPARE(f.field("EdtCount")->text(), QStringLiteral("-"));
        QTableWidget* table = f.window->designPoint()->table();
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(table->item(0, 1)->text(), QStringLiteral("1.00000000"));
        QCOMPARE(table->item(0, 4)->text(), QStringLiteral("1.000000"));
        QVERIFY(f.prompter.shown.empty());
    }

    void parameterTextThatIsNoNumberStopsEvaluate() {
        OutFixture f;
        f.click("RBParameter");
        f.typeOut("0 > y - p");
        QTest::keyClicks(f.field("EdtParName"), "p");
        f.run();
        f.field("EdtParMin")->setText(QStringLiteral("abc"));
        QVERIFY(!f.window->BtnStartClick());
        QVERIFY(f.prompter.lastMessageIs("'abc' is not a valid floating point value"));
    }
};

QTEST_MAIN(TFrmOutEquationsTest)
#include "TFrmOutEquationsTest.moc"
