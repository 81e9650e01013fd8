// Result windows at their opening sizes: every figure readable, the 2D picture clear of its
// neighbours and its range labels at its edges.

#include "gui/app/ResultWindowManager.h"
#include "gui/app/TFrmMain.h"
#include "gui/results/PQGridModel.h"
#include "gui/results/Picture2DCanvas.h"
#include "gui/results/TFrmOut2D.h"
#include "gui/results/TFrmOutPQ.h"
#include "settings/Settings.h"
#include "support/CutTexts.h"
#include "support/UiScriptedPrompter.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace probex;
using Kind = ResultWindowKind;

namespace {

/// Where a child of the window lies, in the window's coordinates.
QRect Place(const QWidget* window, const char* name) {
    const auto* child = window->findChild<QWidget*>(name);
    return child ? QRect(child->mapTo(window, QPoint(0, 0)), child->size()) : QRect();
}

/// The range labels touch the picture: the vertical ones at its left edge, top and bottom,
/// the horizontal ones under it, left and right.
void CheckLabelsAtThePicture(const QWidget* window) {
    const QRect picture = Place(window, "Img2D");
    const QRect yMax = Place(window, "LYMax");
    const QRect yMin = Place(window, "LYMin");
    const QRect xMin = Place(window, "LXMin");
    const QRect xMax = Place(window, "LXMax");
    for (const QRect& y : {yMax, yMin})
        QVERIFY(y.right() < picture.left() && picture.left() - y.right() <= 8);
    QCOMPARE(yMax.top(), picture.top());
    QCOMPARE(yMin.bottom(), picture.bottom());
    for (const QRect& x : {xMin, xMax})
        QCOMPARE(x.top(), picture.bottom() + 1);
    QCOMPARE(xMin.left(), picture.left());
    QCOMPARE(xMax.right(), picture.right());
}

} // namespace

class ResultLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void figuresShowWholeAndThePictureKeepsItsPlace() {
        QTemporaryDir dir;
        TSettings settings = MakeDefaultSettings(dir.path().toStdString() + "/");
        settings.DefOutVars = 3;
        test::UiScriptedPrompter prompter;
        TFrmMain main(settings, prompter, dir.filePath("Probex.ini").toStdString());
        main.setErrorPopup(&prompter);
        main.show();
        ProjectModel& model = main.model();
        // Values up to 1E9 and a sum of 5E11: longer than the fields' usual room.
        model.equations = {"y = x*1000000", "z = x"};
        model.inputs().AddInputVariable("x");
        model.inputs().commitCell(1, InputColumn::Type, "Step number");
        model.setLastStep(1000);
        QVERIFY(model.Compile());
        model.outputs().record(model.outputs().FindOutputRow("y")).probValues[0] = -987654321.5L;
        ResultWindowManager& windows = *main.resultWindows();
        for (const Kind kind : {Kind::Statistics, Kind::OneD, Kind::Probability, Kind::Quantile})
            windows.openForVariable(kind, "y");
        T2DWindowDesc pair;
        pair.variableH = "y";
        pair.variableV = "z";
        model.resultWindows.open(pair);
        QCOMPARE(model.RunStop(), ProjectModel::RunCommand::Started);
        QTRY_VERIFY_WITH_TIMEOUT(!model.running(), 20000);

        for (const Kind kind : AllResultWindowKinds)
            QTRY_COMPARE(test::CutTexts(windows.window(kind, 0)), QStringList());
        for (const Kind kind : {Kind::Probability, Kind::Quantile}) {
            auto* pq = qobject_cast<TFrmOutPQ*>(windows.window(kind, 0));
            const QFontMetrics metrics = pq->grid()->fontMetrics();
            for (const auto column : {PQGridModel::InputColumn, PQGridModel::ResultColumn})
                for (int line = 1; line <= pq->gridModel()->lineCount(); ++line)
                    QVERIFY2(pq->grid()->columnWidth(column) >=
                                 metrics.horizontalAdvance(pq->gridModel()->text(line, column)) + 8,
                             qPrintable(pq->gridModel()->text(line, column)));
        }

        auto* twoD = qobject_cast<TFrmOut2D*>(windows.window(Kind::TwoD, 0));
        QVERIFY(!twoD->findChild<QLabel*>("LXMax")->text().isEmpty());
        QMdiSubWindow* frame = windows.frame(Kind::TwoD, 0);
        // The frame follows its content once the events are through.
        QTRY_VERIFY(frame->width() >= frame->minimumSizeHint().width() &&
                    frame->height() >= frame->minimumSizeHint().height());
        // The layout may settle a few events later on a busy machine.
        for (const char* neighbour : {"RGColouration", "ChBLines", "ChBDots", "ChBCircles"})
            QTRY_VERIFY2(!Place(twoD, "Img2D").intersects(Place(twoD, neighbour)), neighbour);
        const QRect picture = Place(twoD, "Img2D");
        CheckLabelsAtThePicture(twoD);
        frame->resize(frame->size() + QSize(300, 120));
        QCoreApplication::processEvents();
        QVERIFY(Place(twoD, "Img2D").width() > picture.width());
        CheckLabelsAtThePicture(twoD);
        QVERIFY(prompter.shown.empty());
        main.commands().markSaved();
    }
};

QTEST_MAIN(ResultLayoutTest)
#include "ResultLayoutTest.moc"
