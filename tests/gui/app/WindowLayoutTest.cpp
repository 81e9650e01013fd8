// The main window's child windows at their default sizes, tiled, and in the Window menu.

#include "gui/app/ResultWindowManager.h"
#include "gui/app/StepSpinBox.h"
#include "gui/app/TFrmMain.h"
#include "gui/components/ColouringEditor.h"
#include "gui/engine/TFrmEquations.h"
#include "gui/engine/TFrmOutEquations.h"
#include "settings/Settings.h"
#include "support/CutTexts.h"
#include "support/UiScriptedPrompter.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace probex;

namespace {

/// The main window at its default size over y = x with x the step number; y is logged.
struct Main {
    QTemporaryDir dir;
    TSettings settings;
    test::UiScriptedPrompter prompter;
    std::unique_ptr<TFrmMain> window;

    Main() : settings(MakeDefaultSettings(dir.path().toStdString() + "/")) {
        settings.DefOutVars = 3;
        window = std::make_unique<TFrmMain>(settings, prompter,
                                            dir.filePath("Probex.ini").toStdString());
        window->setErrorPopup(&prompter);
        window->show();
        ProjectModel& model = window->model();
        model.equations = {"y = x", "z = 2*x"};
        window->equationsWindow()->refreshFromModel();
        model.inputs().AddInputVariable("x");
        model.inputs().commitCell(1, InputColumn::Type, "Step number");
        window->findChild<StepSpinBox*>("EdtLastStep")->setValue(1000);
    }
    ~Main() {
        window->commands().markSaved(); // the tests' projects are thrown away unasked
        window->close();
    }
    QRect area() const { return window->mdiArea()->viewport()->rect(); }
};

void Type(QLineEdit* field, const char* text) {
    field->clear();
    QTest::keyClicks(field, text);
}

} // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void outEquationsShowEveryNumberWholeAtTheDefaultSize() {
        Main m;
        TFrmOutEquations* out = m.window->outEquationsWindow();
        out->findChild<QRadioButton*>("RBParameter")->click();
        out->editor()->setPlainText(QStringLiteral("0 > y - p"));
        Type(out->field("EdtParName"), "p");
        Type(out->field("EdtParMax"), "100");
        // Never met exactly by a count out of 1000 steps: the search takes every iteration.
        Type(out->field("EdtTargetProb"), "0.0569");
        Type(out->field("EdtMaxDiff"), "0.00001");
        QCOMPARE(m.window->model().RunStop(), ProjectModel::RunCommand::Started);
        QTRY_VERIFY_WITH_TIMEOUT(!m.window->model().running(), 20000);
        QVERIFY(out->BtnStartClick());
        QVERIFY(out->field("EdtResult")->text().size() > 10);
        QTRY_COMPARE(test::CutTexts(out), QStringList());
        QVERIFY(m.area().contains(out->parentWidget()->geometry()));
        QVERIFY(m.prompter.shown.empty());
    }

    void tileKeepsNineWindowsWholeInsideTheMainWindow() {
        Main m;
        QVERIFY(m.window->model().Compile());
        using Kind = ResultWindowKind;
        for (const Kind kind : {Kind::Statistics, Kind::OneD, Kind::Probability, Kind::Quantile})
            m.window->resultWindows()->openForVariable(kind, "y");
        T2DWindowDesc pair;
        pair.variableH = "y";
        pair.variableV = "z";
        m.window->model().resultWindows.open(pair);
        QCOMPARE(m.window->mdiArea()->subWindowList().size(), 9);
        const QSize before = m.window->size();
        m.window->findChild<QAction*>("ItmTile")->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(m.window->size(), before);
        for (const QMdiSubWindow* sub : m.window->mdiArea()->subWindowList()) {
            QVERIFY2(m.area().contains(sub->geometry()), qPrintable(sub->windowTitle()));
            QVERIFY2(sub->width() >= sub->minimumSizeHint().width() &&
                         sub->height() >= sub->minimumSizeHint().height(),
                     qPrintable(sub->windowTitle()));
        }

        // The Window menu lists the pair's window by its caption, "&" and all.
        QMenu* menu = m.window->findChild<QMenu*>("BarWindow");
        emit menu->aboutToShow();
        QStringList shown;
        for (const QAction* item : menu->actions())
            shown << item->iconText();
        QVERIFY2(shown.contains(QStringLiteral("2D y & z")), qPrintable(shown.join(", ")));
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "WindowLayoutTest.moc"
