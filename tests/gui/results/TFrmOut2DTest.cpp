#include "gui/results/TFrmOut2D.h"

#include "gui/results/Picture2DCanvas.h"
#include "gui/results/TFrm2DObjects.h"
#include "gui/results/TFrm2DTables.h"
#include "model/ProjectModel.h"
#include "settings/Settings.h"
#include "support/UiScriptedPrompter.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace probex;

/// Five steps with x = n and y = n·n: the columns are rnd((n − 1)·63.75) = 0, 64, 128, 191,
/// 255 and the rows from the bottom rnd((n² − 1)·10.625) = 0, 32, 85, 159, 255.
class TFrmOut2DTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TSettings> m_settings;
    test::UiScriptedPrompter m_prompter;
    DirectCall m_direct;
    std::unique_ptr<ProjectModel> m_model;
    std::vector<std::unique_ptr<TFrmOut2D>> m_windows;

    static constexpr int Columns[] = {0, 64, 128, 191, 255};
    static constexpr int Lifts[] = {0, 32, 85, 159, 255};

    void run() {
        m_model->Reset();
        QCOMPARE(m_model->RunStop(), ProjectModel::RunCommand::Started);
        m_model->waitForRun();
        QVERIFY(m_model->resultsExist());
    }

    TFrmOut2D& open(const std::string& h, const std::string& v, int colouration = ColourNo) {
        T2DWindowDesc desc;
        desc.variableH = h;
        desc.variableV = v;
        desc.colouration = colouration;
        const std::size_t index = m_model->resultWindows.open(desc);
        m_windows.push_back(std::make_unique<TFrmOut2D>(*m_model, index));
        TFrmOut2D& window = *m_windows.back();
        window.loadDescription();
        window.show();
        window.finishBuilding();
        return window;
    }

    /// The colour of drawing-area pixel (column, row from the bottom) in the saved picture.
    static QRgb Pixel(const TFrmOut2D& window, int column, int lift) {
        return window.picture().pixel(1 + column, 1 + 255 - lift);
    }

    /// Runs `action` on the modal dialog that the next step opens.
    template <class Dialog> void onDialog(std::function<void(Dialog&)> action) {
        QTimer::singleShot(0, this, [action] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            action(*dialog);
        });
    }

    QAction* popupItem(TFrmOut2D& window, const QString& caption) {
        emit window.popupMenu()->aboutToShow();
        for (QAction* action : window.popupMenu()->actions())
            if (action->text() == caption) return action;
        return nullptr;
    }

private slots:
    void init() {
        m_settings = std::make_unique<TSettings>(MakeDefaultSettings("/nonexistent/"));
        m_prompter = {};
        m_model = std::make_unique<ProjectModel>(*m_settings, m_prompter, m_direct);
        m_model->equations = {"x = n", "y = n*n", "z = n"};
        TInputTable& inputs = m_model->inputs();
        inputs.AddInputVariable("n");
        inputs.commitCell(inputs.FindVarRow("n"), InputColumn::Type, "Step number");
        m_model->outEquationLines = {"0 > y - 10"};
        m_model->outEquations().setMode(OutEvalMode::Probability);
        QVERIFY(m_model->CompileModel());
        for (const char* name : {"x", "y", "z"})
            m_model->outputs().setCell(m_model->outputs().FindOutputRow(name), colActivity, "Log");
        m_model->setLastStep(5);
        run();
    }

    void cleanup() {
        m_windows.clear();
        QVERIFY2(!m_prompter.unexpected, "an unexpected box appeared");
    }

    void picturePutsEveryPointOnItsHandComputedPixel() {
        TFrmOut2D& window = open("x", "y");
        QCOMPARE(window.windowTitle(), QStringLiteral("2D x & y"));
        QCOMPARE(window.findChild<QLabel*>("LSteps")->text(), QStringLiteral("5"));
        QCOMPARE(window.findChild<QLabel*>("LXMax")->text(), QStringLiteral("5.00000000"));
        QCOMPARE(window.findChild<QLabel*>("LYMax")->text(), QStringLiteral("25.00000000"));
        const QRgb navy = qRgb(0, 0, 0x80);
        int painted = 0;
        const QImage picture = window.picture();
        for (int row = 1; row <= 256; ++row)
            for (int column = 1; column <= 256; ++column)
                painted += picture.pixel(column, row) == navy;
        QCOMPARE(painted, 5);
        for (int k = 0; k < 5; ++k)
            QCOMPARE(Pixel(window, Columns[k], Lifts[k]), navy);
        // The maximum on column 255, row 0; the minimum on column 0, row 255.
        QCOMPARE(picture.pixel(1 + 255, 1 + 0), navy);
        QCOMPARE(picture.pixel(1 + 0, 1 + 255), navy);
        QCOMPARE(picture.pixel(0, 0), qRgb(0, 0, 0)); // the frame
    }

    void freqWithOnePointPerPixelAndProbByTheCondition() {
        TFrmOut2D& freq = open("x", "y", ColourFreq);
        for (int k = 0; k < 5; ++k)
            QCOMPARE(Pixel(freq, Columns[k], Lifts[k]), qRgb(0, 0, 0x80));
        // "0 > y − 10" holds for n = 1, 2, 3; the misses take the end colour.
        TFrmOut2D& prob = open("x", "y", ColourProb);
        for (int k = 0; k < 5; ++k)
            QCOMPARE(Pixel(prob, Columns[k], Lifts[k]),
                     k < 3 ? qRgb(0, 0, 0x80) : qRgb(0xFF, 0, 0));
        // Hovering names the cell's coordinates and share.
        emit prob.canvas()->hovered(QPoint(255, 0));
        QCOMPARE(prob.findChild<QLabel*>("LHover")->text(),
                 QStringLiteral("X: 5  Y: 25  Share: 1"));
        // Prob is refused when the out equations do not compute a probability.
        m_model->outEquations().setMode(OutEvalMode::Inactive);
        prob.findChild<QRadioButton*>("RBColourationProb")->click();
        QVERIFY(prob.findChild<QRadioButton*>("RBColourationNo")->isChecked());
        QCOMPARE(m_model->resultWindows.twoD[prob.index()].colouration, ColourNo);
    }

    void theBuildGrowsInSlicesAndStopsWhenTheResultsGo() {
        m_settings->RefreshRate2D = 1;
        TFrmOut2D& window = open("x", "y");
        window.DrawGraph();
        QVERIFY(window.building());
        QCOMPARE(window.grid().occupied().size(), std::size_t{0});
        QTRY_VERIFY(!window.building());
        QCOMPARE(window.grid().occupied().size(), std::size_t{5});
        window.DrawGraph();
        window.clearResults();
        QVERIFY(!window.building());
        QCOMPARE(window.findChild<QLabel*>("LSteps")->text(), QStringLiteral("0"));
        QVERIFY(!window.scale().valid);
    }

    void sameVariableTwiceDrawsButHasNoObjects() {
        TFrmOut2D& window = open("x", "X");
        QCOMPARE(window.objectsIndex(), -1);
        QCOMPARE(window.grid().occupied().size(), std::size_t{5}); // the diagonal
        QVERIFY(!popupItem(window, "Add line")->isEnabled());
        QVERIFY(!popupItem(window, "Dots...")->isEnabled());
    }

    void twoWindowsOfOnePairShareTheirObjects() {
        TFrmOut2D& first = open("x", "y");
        TFrmOut2D& second = open("x", "y");
        QCOMPARE(first.objectsIndex(), second.objectsIndex());
        QVERIFY(first.objectsIndex() >= 1);
        onDialog<TFrm2DObjects>([](TFrm2DObjects& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Line 1"));
            QCOMPARE(dialog.colorBox()->currentText(), QStringLiteral("Lime"));
            dialog.field(0)->setText("1");
            dialog.field(1)->setText("1");
            dialog.field(2)->setText("5");
            dialog.field(3)->setText("25");
            dialog.accept();
        });
        popupItem(first, "Add line")->trigger();
        QCOMPARE(first.canvas()->overlayCount(), 1);
        QCOMPARE(second.canvas()->overlayCount(), 0);
        second.findChild<QCheckBox*>("ChBLines")->click();
        popupItem(second, "Redraw")->trigger();
        QCOMPARE(second.canvas()->overlayCount(), 1);
        // The line joins the first and the last point.
        second.finishBuilding();
        QCOMPARE(second.picture().pixel(1 + 128, 1 + 128), qRgb(0, 0xFF, 0));
    }

    void aSeventeenthDotIsRefused() {
        TFrmOut2D& window = open("x", "y");
        m_model->resultWindows.objects.record(window.objectsIndex()).DotCount = 16;
        popupItem(window, "Add dot")->trigger();
        QCOMPARE(m_prompter.take(Prompter::Kind::Error), std::string("Too many dots!"));
        QCOMPARE(m_model->resultWindows.objects.record(window.objectsIndex()).DotCount, 16);
    }

    void addDialogRefusesLettersAndTakesHugeNumbers() {
        TFrmOut2D& window = open("x", "y");
        onDialog<TFrm2DObjects>([this](TFrm2DObjects& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Circle1"));
            dialog.field(0)->setText("abc");
            dialog.accept();
            QVERIFY(dialog.isVisible());
            QCOMPARE(m_prompter.take(Prompter::Kind::Error),
                     std::string("'abc' is not a valid floating point value"));
            dialog.field(0)->setText("1E300");
            dialog.field(2)->setText("-2");
            dialog.accept();
        });
        popupItem(window, "Add circle")->trigger();
        const ObjectsRec& set = m_model->resultWindows.objects.record(window.objectsIndex());
        QCOMPARE(set.CircleCount, 1);
        QCOMPARE(set.Circles[0].X, 1e300);
        QCOMPARE(window.canvas()->overlayCount(), 0); // far off the picture: nothing to see
        window.picture();
    }

    void tableEditsAreWrittenBackAndRedrawnOnYes() {
        TFrmOut2D& window = open("x", "y");
        onDialog<TFrm2DObjectTable>([this](TFrm2DObjectTable& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Dots"));
            QTableWidget* grid = dialog.grid();
            QCOMPARE(grid->horizontalHeaderItem(0)->text(), QStringLiteral("Dot"));
            grid->item(2, 1)->setText("3"); // a number cell gives the row the default colour
            QCOMPARE(dialog.colorCell(2)->currentText(), QStringLiteral("Lime"));
            grid->item(2, 3)->setText("2");
            dialog.colorCell(2)->setCurrentText("Red");
            m_prompter.answers.push_back(Prompter::Answer::Yes);
            dialog.BtnCloseClick();
        });
        popupItem(window, "Dots...")->trigger();
        QCOMPARE(m_prompter.take(Prompter::Kind::Confirmation), std::string("Redraw?"));
        const ObjectsRec& set = m_model->resultWindows.objects.record(window.objectsIndex());
        QCOMPARE(set.DotCount, 1);
        QCOMPARE(set.Dots[0], (DotRec{3, 0, 2, 0x0000FF}));
        QCOMPARE(window.canvas()->overlayCount(), 1);
    }

    void refillClosesAWindowWhoseVariableIsGone() {
        TFrmOut2D& window = open("x", "y");
        QSignalSpy closing(&window, &TFrmResult::closeRequested);
        m_model->outputs().setCell(m_model->outputs().FindOutputRow("z"), colActivity,
                                   "Statistics");
        window.refillVariableBoxes(1);
        QCOMPARE(closing.count(), 0);
        QCOMPARE(window.findChild<QComboBox*>("BoxVariableH")->count(), 2);
        m_model->outputs().setCell(m_model->outputs().FindOutputRow("y"), colActivity, "Histogram");
        window.refillVariableBoxes(1);
        QCOMPARE(closing.count(), 1);
    }

    void boxesRestDuringARunAndAChoiceBeforeARunLogsTheVariable() {
        TFrmOut2D& window = open("x", "y");
        window.setRunning(true);
        QVERIFY(!window.findChild<QComboBox*>("BoxVariableV")->isEnabled());
        window.setRunning(false);
        m_model->Reset();
        window.clearResults();
        window.refillVariableBoxes(0);
        TOutputTable& outputs = m_model->outputs();
        outputs.setCell(outputs.FindOutputRow("z"), colActivity, "Inactive");
        QComboBox* box = window.findChild<QComboBox*>("BoxVariableV");
        box->setCurrentIndex(box->findText("z"));
        emit box->activated(box->currentIndex());
        QCOMPARE(outputs.cell(outputs.FindOutputRow("z"), colActivity), std::string("Log"));
        QCOMPARE(window.windowTitle(), QStringLiteral("2D x & z"));
        QCOMPARE(m_model->resultWindows.twoD[window.index()].variableV, std::string("z"));
    }
};

QTEST_MAIN(TFrmOut2DTest)
#include "TFrmOut2DTest.moc"
