#include "gui/variables/TFrmVars.h"

#include "gui/variables/InputTableModel.h"
#include "gui/variables/TFrmVarsDelegates.h"
#include "model/ProjectModel.h"
#include "settings/Settings.h"
#include "support/UiScriptedPrompter.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace probex;

namespace {

const std::string BeamFile = "[Description]\r\nIdentification=Beam loads\r\nType=Discrete\r\n"
                             "Form=Frequency\r\n\r\n[Parameters]\r\nMin=1\r\nMax=3\r\n\r\n"
                             "[Bins]\r\n1\r\n2\r\n1\r\n";

constexpr int colName = static_cast<int>(InputColumn::Variable);
constexpr int colType = static_cast<int>(InputColumn::Type);
constexpr int colParameters = static_cast<int>(InputColumn::Parameters);

} // namespace

class TFrmVarsTest : public QObject {
    Q_OBJECT

    TInputTable& table() { return m_model->inputs(); }
    QTableView* grid() { return m_window->grid(); }
    QModelIndex cellIndex(int row, int column) { return grid()->model()->index(row - 1, column); }
    /// The view commits an editor on Enter through a queued call.
    static void settle() { QCoreApplication::processEvents(); }
    /// A drop-down's list may have taken the activation; keys need the window back.
    void focusGrid() {
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        grid()->setFocus();
        QCOMPARE(QApplication::focusWidget(), grid());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TSettings> m_settings;
    test::UiScriptedPrompter m_prompter;
    DirectCall m_direct;
    std::unique_ptr<ProjectModel> m_model;
    std::unique_ptr<TFrmVars> m_window;

    QWidget* openEditor(int row, int column) {
        const QModelIndex index = cellIndex(row, column);
        grid()->setCurrentIndex(index);
        grid()->edit(index);
        return grid()->indexWidget(index);
    }

    void typeIntoCell(int row, int column, const QString& text) {
        QWidget* editor = openEditor(row, column);
        QVERIFY(editor);
        QWidget* keys = editor;
        if (auto* combo = qobject_cast<QComboBox*>(editor)) keys = combo->lineEdit();
        static_cast<QLineEdit*>(keys)->clear();
        QTest::keyClicks(keys, text);
        QTest::keyClick(keys, Qt::Key_Return);
        settle();
    }

    void pickType(int row, const QString& word) {
        auto* combo = qobject_cast<QComboBox*>(openEditor(row, colType));
        QVERIFY(combo);
        combo->showPopup();
        const int item = combo->findText(word);
        QVERIFY(item >= 0);
        combo->view()->setCurrentIndex(combo->model()->index(item, 0));
        QTest::keyClick(combo->view(), Qt::Key_Return);
        settle();
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_settings =
            std::make_unique<TSettings>(MakeDefaultSettings(m_dir->path().toStdString() + "/"));
        m_settings->DistDirPath = m_dir->path().toStdString();
        m_prompter = {};
        m_model = std::make_unique<ProjectModel>(*m_settings, m_prompter, m_direct);
        m_window = std::make_unique<TFrmVars>(*m_model);
        m_window->resize(600, 400);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->activateWindow();
        // The Del keys are shortcuts, which act only in the active window.
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        grid()->setFocus();
    }

    void cleanup() {
        m_window.reset();
        m_model.reset();
    }

    void typedNameIsTrimmed() {
        QCOMPARE(grid()->model()->rowCount(), 255);
        QVERIFY(!(cellIndex(1, colParameters).flags() & Qt::ItemIsEditable));
        typeIntoCell(3, colName, "  x1  ");
        QCOMPARE(table().cell(3, InputColumn::Variable), "x1");
        QCOMPARE(cellIndex(3, colName).data().toString(), "x1");
        QVERIFY(table().EditAccepted());
        QVERIFY(m_prompter.shown.empty());
        QVERIFY(!grid()->indexWidget(cellIndex(3, colName))); // Enter closed the editor
    }

    void rejectedNames_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("duplicate below") << 1 << "a"
                                         << "Duplicate name!";
        QTest::newRow("duplicate other case") << 7 << "A"
                                              << "Duplicate name!";
        QTest::newRow("leading digit") << 2 << "1x"
                                       << "Incorrect name!";
        QTest::newRow("underscore") << 2 << "x_1"
                                    << "Incorrect name!";
        QTest::newRow("inner blank") << 2 << "x 1"
                                     << "Incorrect name!";
    }

    void rejectedNames() {
        QFETCH(int, row);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        typeIntoCell(5, colName, "a");
        QVERIFY(m_prompter.shown.empty());

        typeIntoCell(row, colName, typed);
        QCOMPARE(m_prompter.shown.size(), 1u);
        QCOMPARE(m_prompter.shown[0].text, message.toStdString());
        QVERIFY(m_prompter.shown[0].kind == Prompter::Kind::Error);
        QVERIFY(m_prompter.shown[0].buttons == Prompter::Buttons::Cancel);
        QVERIFY(!table().EditAccepted());
        // The cell keeps the rejected text until the person corrects it.
        QCOMPARE(cellIndex(row, colName).data().toString(), typed);

        typeIntoCell(row, colName, "b");
        QVERIFY(table().EditAccepted());
        QCOMPARE(table().cell(row, InputColumn::Variable), "b");
    }

    void pendingEditCommitsBeforeARun() {
        QVERIFY(m_window->commitPendingEdit()); // nothing open

        QWidget* editor = openEditor(1, colName);
        QTest::keyClicks(editor, "z");
        QCOMPARE(table().cell(1, InputColumn::Variable), "");
        QVERIFY(m_window->commitPendingEdit());
        QCOMPARE(table().cell(1, InputColumn::Variable), "z");
        QVERIFY(!grid()->indexWidget(cellIndex(1, colName)));

        editor = openEditor(2, colName);
        QTest::keyClicks(editor, "Z");
        QVERIFY(!m_window->commitPendingEdit());
        QCOMPARE(m_prompter.texts(), std::vector<std::string>{"Duplicate name!"});
    }

    void typeListPicksAKind_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("typed");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("parameters");
        const int normal = static_cast<int>(DistKind::dkNormal);
        QTest::newRow("Normal picked")
            << "Normal" << false << normal << "Normal"
            << "Min=-3.00000000 Max=3.00000000 Mean=0.00000000 StDev=1.00000000";
        QTest::newRow("Step number picked")
            << "Step number" << false << static_cast<int>(DistKind::dkStepNumber) << "Step number"
            << "No parameter";
        QTest::newRow("lognormal typed")
            << "lognormal" << true << static_cast<int>(DistKind::dkLognormal) << "Lognormal"
            << "Min=0.00000000 Max=1000.00000000 Mean=1.00000000 StDev=1.00000000";
        QTest::newRow("Constant typed")
            << "Constant" << true << static_cast<int>(DistKind::dkConstant) << "Constant"
            << "Value=0";
    }

    void typeListPicksAKind() {
        QFETCH(QString, word);
        QFETCH(bool, typed);
        QFETCH(int, kind);
        QFETCH(QString, type);
        QFETCH(QString, parameters);
        typeIntoCell(4, colName, "x");

        auto* combo = qobject_cast<QComboBox*>(openEditor(4, colType));
        QVERIFY(combo);
        QVERIFY(combo->isEditable());
        QCOMPARE(combo->maxVisibleItems(), 10);
        const QStringList items = {
            "Constant",           "Exponential", "Lognormal", "Normal", "Uniform",    "Gumbel",
            "GumbelMin",          "Weibull",     "Gamma",     "Beta",   "Triangular", "PERT",
            "Saved Distribution", "Step number"};
        QCOMPARE(combo->count(), items.size());
        for (int i = 0; i < items.size(); ++i)
            QCOMPARE(combo->itemText(i), items[i]);

        if (typed)
            typeIntoCell(4, colType, word);
        else
            pickType(4, word);
        QCOMPARE(static_cast<int>(table().kind(4)), kind);
        QCOMPARE(cellIndex(4, colType).data().toString(), type);
        QCOMPARE(cellIndex(4, colParameters).data().toString(), parameters);
        QVERIFY(!grid()->indexWidget(cellIndex(4, colType)));
        QVERIFY(table().EditAccepted());
        QVERIFY(m_prompter.shown.empty());
    }

    void arrowKeysInTheListDoNotCommit() {
        typeIntoCell(1, colName, "x");
        auto* combo = qobject_cast<QComboBox*>(openEditor(1, colType));
        QVERIFY(combo);
        QTest::keyClick(combo, Qt::Key_Down);
        QTest::keyClick(combo, Qt::Key_Down);
        // Walking the closed list must not commit (nor ask for a file on the way past it).
        QCOMPARE(table().kind(1), DistKind::dkUndefined);
        QVERIFY(grid()->indexWidget(cellIndex(1, colType)));
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        settle();
        QCOMPARE(table().kind(1), DistKind::dkExponential);
    }

    void savedDistributionAsksForItsFile() {
        const std::string path = m_dir->filePath("beam.dis").toStdString();
        std::ofstream(path, std::ios::binary) << BeamFile;
        typeIntoCell(2, colName, "load");
        pickType(2, "Uniform");
        m_prompter.files = {std::nullopt, path};

        // A cancelled file request leaves the row undefined, and the same word can be picked again.
        pickType(2, "Saved Distribution");
        QCOMPARE(table().kind(2), DistKind::dkUndefined);
        QCOMPARE(cellIndex(2, colType).data().toString(), "Saved Distribution");
        QCOMPARE(cellIndex(2, colParameters).data().toString(), "");
        pickType(2, "Saved Distribution");
        QCOMPARE(m_prompter.fileRequests.size(), 2u);
        const Prompter::FileRequest& request = m_prompter.fileRequests[1];
        QVERIFY(!request.save);
        QCOMPARE(request.filter, "Histogram files (*.dis)|*.dis");
        QCOMPARE(request.defaultExtension, "dis");
        QCOMPARE(request.fileName, "*.dis");
        QCOMPARE(request.initialDirectory, m_settings->DistDirPath);
        QCOMPARE(table().kind(2), DistKind::dkDiscrete);
        QCOMPARE(cellIndex(2, colType).data().toString(), "beam.dis");
        QCOMPARE(cellIndex(2, colParameters).data().toString(), "Min=1.00000000 Max=3.00000000");
        QCOMPARE(cellIndex(2, 3).data().toString(), "Beam loads");
        QVERIFY(table().EditAccepted());

        // Leaving the cell unchanged keeps the loaded histogram and asks for nothing.
        QWidget* editor = openEditor(2, colType);
        QTest::keyClick(static_cast<QComboBox*>(editor)->lineEdit(), Qt::Key_Return);
        settle();
        QCOMPARE(m_prompter.fileRequests.size(), 2u);
        QCOMPARE(table().kind(2), DistKind::dkDiscrete);
        QCOMPARE(table().record(2).Urn.size(), 4u);
    }

    void parametersButtonAsksForTheInspector() {
        QSignalSpy spy(m_window.get(), &TFrmVars::inspectRequested);
        const QRect cell = grid()->visualRect(cellIndex(3, colParameters));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          ParametersDelegate::buttonRect(cell).center());
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy[0][0].toInt(), 3);

        // A click on the text of the cell is no request.
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cell.topLeft() + QPoint(4, 4));
        QCOMPARE(spy.size(), 1);

        grid()->setCurrentIndex(cellIndex(6, colName));
        m_window->viewAction()->trigger();
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy[1][0].toInt(), 6);
    }

    void deleteKeysClearRows() {
        typeIntoCell(1, colName, "a");
        typeIntoCell(2, colName, "b");
        pickType(2, "Normal");
        typeIntoCell(3, colName, "c");

        grid()->setCurrentIndex(cellIndex(2, colName));
        focusGrid();
        // Through the window, as the system delivers keys, so that shortcuts get their turn.
        QTest::keyClick(m_window->windowHandle(), Qt::Key_Delete);
        QCOMPARE(table().cell(2, InputColumn::Variable), "");
        QCOMPARE(table().kind(2), DistKind::dkUndefined);
        QCOMPARE(cellIndex(2, colParameters).data().toString(), "");
        QCOMPARE(table().cell(1, InputColumn::Variable), "a");

        // Del inside an open editor deletes a character, not the row.
        QWidget* editor = openEditor(3, colName);
        QCOMPARE(QApplication::focusWidget(), editor);
        QTest::keyClick(m_window->windowHandle(), Qt::Key_Home);
        QTest::keyClick(m_window->windowHandle(), Qt::Key_Delete);
        QTest::keyClick(m_window->windowHandle(), Qt::Key_Return);
        settle();
        QCOMPARE(table().cell(3, InputColumn::Variable), "");
        QCOMPARE(table().cell(1, InputColumn::Variable), "a");

        typeIntoCell(3, colName, "c");
        focusGrid();
        QTest::keyClick(m_window->windowHandle(), Qt::Key_Delete, Qt::ShiftModifier);
        for (int row : {1, 3})
            QCOMPARE(cellIndex(row, colName).data().toString(), "");
    }

    void compactMovesRowsUp() {
        typeIntoCell(1, colName, "a");
        typeIntoCell(4, colName, "b");
        pickType(4, "Uniform");
        typeIntoCell(255, colName, "c");

        m_window->compactAction()->trigger();
        const QStringList names = {"a", "b", "c", ""};
        for (int row = 1; row <= names.size(); ++row)
            QCOMPARE(cellIndex(row, colName).data().toString(), names[row - 1]);
        QCOMPARE(table().kind(2), DistKind::dkUniform);
        QCOMPARE(cellIndex(2, colType).data().toString(), "Uniform");
        QCOMPARE(table().kind(4), DistKind::dkUndefined);
        QCOMPARE(cellIndex(255, colName).data().toString(), "");
    }

    void runningDisablesTheTable() {
        m_window->setRunning(true);
        QVERIFY(!grid()->isEnabled());
        QVERIFY(!m_window->deleteAllAction()->isEnabled());
        m_window->setRunning(false);
        QVERIFY(grid()->isEnabled());
        QVERIFY(m_window->deleteAllAction()->isEnabled());
        QVERIFY(!m_window->sortAction()->isEnabled());
    }

    void typingDiscardsResults_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("discarded");
        QTest::newRow("Variable") << colName << true;
        QTest::newRow("Type") << colType << true;
        QTest::newRow("Comment") << 3 << false;
    }

    void typingDiscardsResults() {
        QFETCH(int, column);
        QFETCH(bool, discarded);
        m_settings->DefInVarsConst = true;
        m_settings->DefOutVars = 1;
        m_model->equations = {"y = x + 1"};
        m_model->setLastStep(10);
        m_model->RunStop();
        m_model->waitForRun();
        QVERIFY(m_model->resultsExist());
        m_window->refreshFromModel();
        QCOMPARE(cellIndex(1, colName).data().toString(), "x");
        QCOMPARE(cellIndex(1, colParameters).data().toString(), "Value=0");

        // The first key already counts, before anything is committed.
        QWidget* editor = openEditor(1, column);
        QVERIFY(editor);
        if (auto* combo = qobject_cast<QComboBox*>(editor)) editor = combo->lineEdit();
        QTest::keyClick(editor, Qt::Key_Q);
        QCOMPARE(!m_model->resultsExist(), discarded);
        QTest::keyClick(editor, Qt::Key_Escape);
        settle();
        QCOMPARE(cellIndex(1, colName).data().toString(), "x");
    }
};

QTEST_MAIN(TFrmVarsTest)
#include "TFrmVarsTest.moc"
