#include "gui/app/TFrmMain.h"

#include "gui/app/HelpLocation.h"
#include "gui/app/StepSpinBox.h"
#include "gui/components/ColouringEditor.h"
#include "gui/components/QtPrompter.h"
#include "gui/engine/TFrmEquations.h"
#include "gui/engine/TFrmOutEquations.h"
#include "gui/results/TFrmSaveRes.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "support/UiScriptedPrompter.h"
#include "variables/Distributions.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <filesystem>
#include <memory>

using namespace probex;

namespace {

/// A main window on a settings file of its own, with popups and boxes recorded.
struct MainFixture {
    QTemporaryDir dir;
    TSettings settings;
    test::UiScriptedPrompter prompter;
    std::unique_ptr<TFrmMain> window;

    MainFixture() : settings(MakeDefaultSettings(dir.path().toStdString() + "/")) {
        settings.DefOutVars = 1; // statistics for every computed variable
        settings.RefreshRateStat = 100;
        window = std::make_unique<TFrmMain>(settings, prompter, settingsFile());
        window->setErrorPopup(&prompter);
        window->show();
    }
    ~MainFixture() {
        if (!window) return;
        window->commands().markSaved(); // the tests' projects are thrown away unasked
        window->close();
    }

    std::string settingsFile() const { return dir.filePath("Probex.ini").toStdString(); }
    ProjectModel& model() { return window->model(); }
    QAction* action(const char* name) { return window->findChild<QAction*>(name); }
    template <class T> T* child(const char* name) { return window->findChild<T*>(name); }

    /// y = 2x with x uniform on 0..1, statistics for y.
    void smallModel() {
        model().equations = {"y = 2*x"};
        window->equationsWindow()->refreshFromModel();
        TInputTable& inputs = model().inputs();
        QVERIFY(inputs.AddInputVariable("x"));
        const int row = inputs.FindVarRow("x");
        inputs.commitCell(row, InputColumn::Type, "Uniform");
        TIis& iis = inputs.record(row);
        iis.Min = 0;
        iis.Max = 1;
        QCOMPARE(QString::fromStdString(CheckParameters(iis)), QString());
        inputs.FillParametersCell(row);
    }

    void setLastStep(int steps) { child<StepSpinBox>("EdtLastStep")->setValue(steps); }
};

} // namespace

class TFrmMainTest : public QObject {
    Q_OBJECT

private slots:
    void startsUntitledAndShowsHintsInTheFirstPanel() {
        MainFixture f;
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Probex [Untitled]"));
        QVERIFY(!f.child<QToolButton>("TlbButReset")->isEnabled());
        QCOMPARE(f.child<QLabel>("lblCurrentStep")->text(), QStringLiteral("0"));
        QCOMPARE(f.model().lastStep(), 1000);
        QCOMPARE(f.window->mdiArea()->subWindowList().size(), 4);
        f.action("ItmOpen")->showStatusText(f.window.get());
        QCOMPARE(f.window->statusPanel(1)->text(), QStringLiteral("Open new input file"));
    }

    void compileErrorPutsTheCaretAfterTheFailingCharacter() {
        MainFixture f;
        ColouringEditor* editor = f.window->equationsWindow()->editor();
        editor->setFocus();
        QTest::keyClicks(editor, "a = 1");
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, "x = 2 = 3");
        QCOMPARE(f.model().equations, (std::vector<std::string>{"a = 1", "x = 2 = 3"}));
        f.action("ItmCompile")->trigger();
        QCOMPARE(f.window->equationsWindow()->barError()->currentMessage(),
                 QStringLiteral("Illegal character: line 2 at \"= 3\""));
        QCOMPARE(editor->textCursor().blockNumber(), 1);
        QCOMPARE(editor->textCursor().positionInBlock(), 7);
        QCOMPARE(f.prompter.popups.size(), std::size_t{1});
        QCOMPARE(f.prompter.popups[0].caption, std::string("Equations error"));
        QCOMPARE(f.prompter.popups[0].message, std::string("Illegal character\nline 2 at \"= 3\""));
    }

    void runFromTheRunActionUntilItEnds() {
        MainFixture f;
        f.smallModel();
        f.setLastStep(5000);
        f.action("ItmRunStop")->trigger();
        QVERIFY(f.model().running());
        QCOMPARE(f.action("ItmRunStop")->text(), QStringLiteral("&Stop"));
        QCOMPARE(f.child<QToolButton>("TlbButRun")->toolTip(), QStringLiteral("Stop"));
        QVERIFY(!f.child<QMenu>("BarFile")->menuAction()->isEnabled());
        QVERIFY(!f.action("ItmOpen")->isEnabled());
        QVERIFY(!f.action("ItmSaveRes")->isEnabled());
        QVERIFY(!f.action("ItmCompile")->isEnabled());
        QVERIFY(!f.child<StepSpinBox>("EdtLastStep")->isEnabled());
        QCOMPARE(f.child<QLabel>("lblCurrentStep")->palette().color(QPalette::Window),
                 QColor(0, 255, 0));

        QTRY_VERIFY_WITH_TIMEOUT(!f.model().running(), 20000);
        QVERIFY(f.model().resultsExist());
        QCOMPARE(f.model().stepCounter(), 5000);
        QCOMPARE(f.child<QLabel>("lblCurrentStep")->text(), QStringLiteral("5000"));
        QCOMPARE(f.action("ItmRunStop")->text(), QStringLiteral("&Run"));
        QVERIFY(f.action("ItmOpen")->isEnabled());
        QVERIFY(f.action("ItmReset")->isEnabled());
        // Save results writes the statistics of y into the results directory.
        QTimer::singleShot(0, f.window.get(),
                           [&f] { f.window->saveResultsDialog()->ButOKClick(); });
        f.action("ItmSaveRes")->trigger();
        QFile statistics(QString::fromStdString(f.settings.ResultsDirPath) + "/Untitled.sta");
        QVERIFY2(statistics.open(QIODevice::ReadOnly), qPrintable(statistics.fileName()));
        QCOMPARE(statistics.readAll().count("\r\n"), 8);
        QVERIFY(f.child<StepSpinBox>("EdtLastStep")->isEnabled());
        QVERIFY(f.prompter.shown.empty());

        // A finished run asks before starting again; Cancel keeps the results.
        f.prompter.answers.push_back(Prompter::Answer::Cancel);
        f.action("ItmRunStop")->trigger();
        QVERIFY(f.prompter.lastMessageIs("Restart?"));
        QVERIFY(!f.model().running());
        QCOMPARE(f.model().stepCounter(), 5000);

        f.action("ItmReset")->trigger();
        QVERIFY(!f.model().resultsExist());
        QCOMPARE(f.child<QLabel>("lblCurrentStep")->text(), QStringLiteral("0"));
        QVERIFY(!f.action("ItmReset")->isEnabled());
    }

    void stopAndContinue() {
        MainFixture f;
        f.smallModel();
        f.setLastStep(StepSpinBox::Maximum);
        QLabel* label = f.child<QLabel>("lblCurrentStep");
        f.action("ItmRunStop")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(label->text() != QStringLiteral("0"), 20000);
        f.action("ItmRunStop")->trigger(); // Stop
        QTRY_VERIFY_WITH_TIMEOUT(!f.model().running(), 20000);
        const std::int32_t stopped = f.model().stepCounter();
        QVERIFY(stopped >= 1000);
        QVERIFY(f.model().resultsExist());

        f.action("ItmRunStop")->trigger(); // continues with the same results
        QVERIFY(f.model().running());
        const QString before = label->text();
        QTRY_VERIFY_WITH_TIMEOUT(label->text() != before, 20000);
        f.action("ItmRunStop")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!f.model().running(), 20000);
        QVERIFY(f.model().stepCounter() > stopped);
        QVERIFY(f.model().resultsExist());
        QVERIFY(f.prompter.shown.empty());
    }

    void runTimeErrorIsShownBeforeTheFailingExpression() {
        MainFixture f;
        f.model().equations = {"a = 1", "y =  1/x"};
        f.window->equationsWindow()->refreshFromModel();
        TInputTable& inputs = f.model().inputs();
        QVERIFY(inputs.AddInputVariable("x"));
        inputs.commitCell(inputs.FindVarRow("x"), InputColumn::Type, "Constant");
        f.action("ItmRunStop")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!f.model().running(), 20000);
        QVERIFY(!f.prompter.popups.empty());
        QCOMPARE(f.prompter.popups.back().message, std::string("Division by zero\ny, line 2"));
        ColouringEditor* editor = f.window->equationsWindow()->editor();
        QCOMPARE(editor->textCursor().blockNumber(), 1);
        QCOMPARE(editor->textCursor().positionInBlock(), 3);
        QVERIFY(!f.model().resultsExist());
        QCOMPARE(f.action("ItmRunStop")->text(), QStringLiteral("&Run"));
    }

    void closingDuringARunStopsItFirst() {
        MainFixture f;
        f.smallModel();
        f.setLastStep(StepSpinBox::Maximum);
        f.action("ItmRunStop")->trigger();
        QVERIFY(f.model().running());
        f.prompter.answers = {Prompter::Answer::No}; // "Save changes to Untitled?"
        QVERIFY(f.window->close());
        QVERIFY(!f.model().running());
        QVERIFY(f.model().stepCounter() < StepSpinBox::Maximum);
        IniFile ini;
        QVERIFY(ini.load(f.settingsFile()));
        QVERIFY(ini.hasKey("Main Window", "NormPos"));
        QVERIFY(!ini.readString("Toolbars", "State", "").empty());
    }

    void stepCountIsLimitedAndDiscardsResults() {
        MainFixture f;
        auto* box = f.child<StepSpinBox>("EdtLastStep");
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "1500000000");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->value(), 999999999);
        QCOMPARE(f.model().lastStep(), 999999999);
        QTest::keyClicks(box, "x");
        QCOMPARE(box->value(), 999999999);
    }

    void titleFollowsSaveAsAndNew() {
        MainFixture f;
        f.smallModel();
        f.child<QLineEdit>("EdtId")->setFocus();
        QTest::keyClicks(f.child<QLineEdit>("EdtId"), "first try");
        QCOMPARE(f.model().identification, std::string("first try"));
        const std::string base = f.dir.filePath("beam").toStdString();
        f.prompter.files.push_back(base);
        f.action("ItmSaveAs")->trigger();
        QCOMPARE(f.prompter.fileRequests.size(), std::size_t{1});
        QCOMPARE(f.prompter.fileRequests[0].defaultExtension, std::string("pxw"));
        QCOMPARE(f.window->windowTitle(), QString::fromStdString("Probex " + base + ".pxw"));
        QVERIFY(std::filesystem::exists(base + ".pxw"));

        f.action("ItmNew")->trigger();
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Probex [Untitled]"));
        QVERIFY(f.window->equationsWindow()->editor()->toPlainText().isEmpty());
        QVERIFY(f.child<QLineEdit>("EdtId")->text().isEmpty());

        f.prompter.files.push_back(base + ".pxw");
        f.action("ItmOpen")->trigger();
        QCOMPARE(f.window->windowTitle(), QString::fromStdString("Probex " + base + ".pxw"));
        QCOMPARE(f.window->equationsWindow()->editor()->toPlainText(), QStringLiteral("y = 2*x"));
        QCOMPARE(f.child<QLineEdit>("EdtId")->text(), QStringLiteral("first try"));
    }

    void commandLineProjectIsReadWhenShown() {
        MainFixture f;
        f.smallModel();
        const std::string file = f.dir.filePath("cmd.pxw").toStdString();
        f.prompter.files.push_back(file);
        f.action("ItmSaveAs")->trigger();

        TSettings settings = f.settings;
        settings.IgnoreUnsupParams = true; // a uniform's mean and deviation are written too
        test::UiScriptedPrompter prompter;
        TFrmMain second(settings, prompter, f.settingsFile());
        second.setErrorPopup(&prompter);
        second.setCommandLineProject(file);
        second.show();
        QTRY_COMPARE(second.windowTitle(), QString::fromStdString("Probex " + file));
        QCOMPARE(second.model().equations, (std::vector<std::string>{"y = 2*x"}));
        QVERIFY(prompter.shown.empty());

        test::UiScriptedPrompter missing;
        TFrmMain third(settings, missing, f.settingsFile());
        third.setErrorPopup(&missing);
        third.setCommandLineProject(f.dir.filePath("none/missing.pxw").toStdString());
        third.show();
        QTRY_VERIFY(!missing.shown.empty());
        QCOMPARE(missing.shown.back().text,
                 "File " + f.dir.filePath("none/missing.pxw").toStdString() + " not found");
        QCOMPARE(third.windowTitle(), QStringLiteral("Probex [Untitled]"));
    }

    void savePositionsWritesTheFourWindows() {
        MainFixture f;
        f.window->outEquationsWindow()->parentWidget()->setGeometry(30, 40, 500, 300);
        f.action("ItmSavePos")->trigger();
        QVERIFY(f.prompter.lastMessageIs("Windows position successfully saved."));
        IniFile ini;
        QVERIFY(ini.load(f.settingsFile()));
        for (const char* section : {"Equations", "OutEquations", "Input vars", "Var list"})
            QVERIFY2(ini.hasKey(section, "NormPos"), section);
        QCOMPARE(ini.readString("OutEquations", "NormPos", ""), std::string("30,40,530,340"));

        f.window.reset();
        TSettings settings = f.settings;
        test::UiScriptedPrompter prompter;
        TFrmMain restored(settings, prompter, f.settingsFile());
        QCOMPARE(restored.outEquationsWindow()->parentWidget()->geometry(),
                 QRect(30, 40, 500, 300));
    }

    void windowMenuBringsAHiddenWindowBack() {
        MainFixture f;
        auto* sub = qobject_cast<QMdiSubWindow*>(f.window->equationsWindow()->parentWidget());
        QVERIFY(sub != nullptr);
        sub->close();
        QVERIFY(!sub->isVisible());
        f.action("ItmEquations")->trigger();
        QVERIFY(sub->isVisible());
        QCOMPARE(f.window->mdiArea()->activeSubWindow(), sub);
    }

    void helpPageIsFound() {
        const QString help = FindHelpFile(QStringLiteral("/nonexistent"));
        QVERIFY(help.endsWith(QStringLiteral("docs/help/index.html")));
        QFile page(help);
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QByteArray html = page.readAll();
        for (const char* topic : {"id=\"language\"", "id=\"inputs\"", "id=\"outputs\"",
                                  "id=\"running\"", "id=\"outequations\"", "id=\"files\""})
            QVERIFY2(html.contains(topic), topic);
    }

    void qtFileFilterTakesPairs_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two") << "Distribution files|*.dis|All files|*"
                             << "Distribution files (*.dis);;All files (*)";
        QTest::newRow("list") << "Pictures|*.bmp;*.wmf"
                              << "Pictures (*.bmp *.wmf)";
        QTest::newRow("bare") << "*.txt"
                              << "*.txt";
    }
    void qtFileFilterTakesPairs() {
        QFETCH(QString, filter);
        QFETCH(QString, expected);
        QCOMPARE(QtFileFilter(filter.toStdString()), expected);
    }
};

QTEST_MAIN(TFrmMainTest)
#include "TFrmMainTest.moc"
