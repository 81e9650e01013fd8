#include "gui/simulation/TFrmOVars.h"

#include "gui/simulation/OutputTableModel.h"
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
#include <QTest>

#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace probex;

class TFrmOVarsTest : public QObject {
    Q_OBJECT

    TOutputTable& table() { return m_model->outputs(); }
    QTableView* grid() { return m_window->grid(); }
    QModelIndex cellIndex(int row, int column) { return grid()->model()->index(row - 1, column); }
    QString shown(int row, int column) { return cellIndex(row, column).data().toString(); }

    std::unique_ptr<TSettings> m_settings;
    test::UiScriptedPrompter m_prompter;
    DirectCall m_direct;
    std::unique_ptr<ProjectModel> m_model;
    std::unique_ptr<TFrmOVars> m_window;

    void focusGrid() {
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        grid()->setFocus();
        QCOMPARE(QApplication::focusWidget(), grid());
    }

    QComboBox* openPickList(int row, int column) {
        const QModelIndex index = cellIndex(row, column);
        grid()->setCurrentIndex(index);
        grid()->edit(index);
        return qobject_cast<QComboBox*>(grid()->indexWidget(index));
    }

    /// Opens a cell's pick list and picks a word from its open list.
    void pick(int row, int column, const QString& word) {
        QComboBox* combo = openPickList(row, column);
        QVERIFY(combo);
        combo->showPopup();
        const int item = combo->findText(word);
        QVERIFY(item >= 0);
        combo->view()->setCurrentIndex(combo->model()->index(item, 0));
        QTest::keyClick(combo->view(), Qt::Key_Return);
        QCoreApplication::processEvents();
        QVERIFY(!grid()->indexWidget(cellIndex(row, column)));
    }

private slots:
    void init() {
        m_settings = std::make_unique<TSettings>(MakeDefaultSettings("/nonexistent/"));
        m_prompter = {};
        m_model = std::make_unique<ProjectModel>(*m_settings, m_prompter, m_direct);
        // Rows 1 and 3 hold variables of the equations, row 4 one they no longer define.
        table().AddOutputVariable("y", true);
        table().AddOutputVariable("gap", true);
        table().AddOutputVariable("z", true);
        table().AddOutputVariable("old", false);
        table().setCell(4, colActivity, "");
        table().DelVar(2);
        m_window = std::make_unique<TFrmOVars>(*m_model);
        m_window->resize(600, 400);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        focusGrid();
    }

    void cleanup() {
        m_window.reset();
        m_model.reset();
        for (const auto& shown : m_prompter.shown)
            QFAIL(("unexpected message: " + shown.text).c_str());
    }

    void activityPickList() {
        QCOMPARE(grid()->model()->rowCount(), 255);
        QCOMPARE(shown(2, colVariable), "");
        QComboBox* combo = openPickList(1, colActivity);
        QVERIFY(combo);
        QVERIFY(!combo->isEditable()); // limited to the list
        const QStringList words = {"Inactive", "Statistics", "Histogram", "Log"};
        QCOMPARE(combo->count(), words.size());
        for (int i = 0; i < words.size(); ++i)
            QCOMPARE(combo->itemText(i), words[i]);
        QCOMPARE(combo->currentText(), "Inactive");
        // A key moving through the list picks a word, as on any drop-down.
        QTest::keyClick(combo, Qt::Key_End);
        QCoreApplication::processEvents();
        QCOMPARE(table().cell(1, colActivity), "Log");

        pick(3, colActivity, "Histogram");
        QCOMPARE(table().cell(3, colActivity), "Histogram");
        QCOMPARE(shown(3, colActivity), "Histogram");

        // The variable the equations no longer define shows no word in its list.
        combo = openPickList(4, colActivity);
        QVERIFY(combo);
        QCOMPARE(combo->currentIndex(), -1);
    }

    void discreteAndRecalculatePickLists() {
        QComboBox* combo = openPickList(1, colDiscrete);
        QVERIFY(combo);
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(0), "No");
        QCOMPARE(combo->itemText(1), "Yes");
        QCoreApplication::processEvents();

        pick(1, colDiscrete, "Yes");
        QCOMPARE(table().cell(1, colDiscrete), "Yes");

        // Only a logged variable may be recalculated; leaving "Log" takes the choice back.
        pick(1, colRecalculate, "Yes");
        QCOMPARE(table().cell(1, colRecalculate), "No");
        pick(1, colActivity, "Log");
        pick(1, colRecalculate, "Yes");
        QCOMPARE(shown(1, colRecalculate), "Yes");
        pick(1, colActivity, "Histogram");
        QCOMPARE(shown(1, colRecalculate), "No");
    }

    void typedNameGetsDefaults() {
        const QModelIndex index = cellIndex(2, colVariable);
        grid()->setCurrentIndex(index);
        grid()->edit(index);
        auto* editor = qobject_cast<QLineEdit*>(grid()->indexWidget(index));
        QVERIFY(editor);
        QTest::keyClicks(editor, " w ");
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        const QStringList row = {"w", "Inactive", "No", "No", ""};
        for (int c = 0; c < row.size(); ++c)
            QCOMPARE(shown(2, c), row[c]);
        QVERIFY(table().record(2).present);
    }

    void allCommands_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("before"); // activities of rows 1, 3 and 4
        QTest::addColumn<QStringList>("after");
        QTest::newRow("statistics")
            << "ItmAllStatistics" << QStringList{"Inactive", "Histogram", ""}
            << QStringList{"Statistics", "Histogram", ""};
        QTest::newRow("histograms") << "ItmAllHis" << QStringList{"Statistics", "Log", ""}
                                    << QStringList{"Histogram", "Log", ""};
        QTest::newRow("logs") << "ItmAllLogs" << QStringList{"Inactive", "Histogram", ""}
                              << QStringList{"Log", "Log", ""};
        QTest::newRow("inactive") << "ItmAllInactive" << QStringList{"Log", "Statistics", ""}
                                  << QStringList{"Inactive", "Inactive", ""};
    }

    void allCommands() {
        QFETCH(QString, command);
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        const int rows[] = {1, 3, 4};
        for (int i = 0; i < 3; ++i)
            table().setCell(rows[i], colActivity, before[i].toStdString());
        auto* action = m_window->findChild<QAction*>(command);
        QVERIFY(action);
        action->trigger();
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(QString::fromStdString(table().cell(rows[i], colActivity)), after[i]);
            QCOMPARE(shown(rows[i], colActivity), after[i]); // the grid follows the table
        }
        QCOMPARE(shown(2, colActivity), ""); // a free row gets nothing
    }

    void allCommandKeys() {
        struct Case {
            Qt::Key key;
            const char* activity;
        };
        const Case cases[] = {{Qt::Key_L, "Log"},
                              {Qt::Key_I, "Inactive"},
                              {Qt::Key_H, "Histogram"},
                              {Qt::Key_S, "Histogram"}};
        grid()->setCurrentIndex(cellIndex(1, colComment));
        for (const Case& c : cases) {
            QTest::keyClick(m_window->windowHandle(), c.key, Qt::ControlModifier);
            QCOMPARE(table().cell(1, colActivity), c.activity);
            QCOMPARE(table().cell(3, colActivity), c.activity);
        }
        QVERIFY(!grid()->indexWidget(cellIndex(1, colComment))); // no editor opened by the keys
    }

    void deleteAndCompact() {
        table().record(3).windowIds[ow1D] = "z graph";
        m_window->compactAction()->trigger();
        const QStringList names = {"y", "z", "old", ""};
        for (int row = 1; row <= names.size(); ++row)
            QCOMPARE(shown(row, colVariable), names[row - 1]);
        QCOMPARE(table().record(2).windowIds[ow1D], "z graph"); // the record moved with its row
        QCOMPARE(table().record(3).windowIds[ow1D], "");

        grid()->setCurrentIndex(cellIndex(2, colActivity));
        QTest::keyClick(m_window->windowHandle(), Qt::Key_Delete);
        for (int c = 0; c < OutputColumns; ++c)
            QCOMPARE(shown(2, c), "");
        QCOMPARE(table().record(2).windowIds[ow1D], "");
        QCOMPARE(shown(1, colVariable), "y");

        QTest::keyClick(m_window->windowHandle(), Qt::Key_Delete, Qt::ShiftModifier);
        for (int row : {1, 3})
            QCOMPARE(shown(row, colVariable), "");
    }

    void viewVariable() {
        QSignalSpy spy(m_window.get(), &TFrmOVars::viewRequested);
        m_window->viewVariableAction()->setEnabled(true);
        grid()->setCurrentIndex(cellIndex(3, colComment));
        m_window->viewVariableAction()->trigger();
        grid()->setCurrentIndex(cellIndex(2, colComment)); // a free row has nothing to view
        m_window->viewVariableAction()->trigger();
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy[0][0].toInt(), 3);
    }

    void runningDisablesTheTable() {
        QVERIFY(!m_window->viewVariableAction()->isEnabled());
        m_window->viewVariableAction()->setEnabled(true);
        m_window->setRunning(true);
        QVERIFY(!grid()->isEnabled());
        for (QAction* action : {m_window->allStatisticsAction(), m_window->allInactiveAction(),
                                m_window->deleteAllAction(), m_window->compactAction()})
            QVERIFY(!action->isEnabled());
        QVERIFY(m_window->viewVariableAction()->isEnabled());
        m_window->setRunning(false);
        QVERIFY(grid()->isEnabled());
        QVERIFY(m_window->allLogsAction()->isEnabled());
        QVERIFY(!m_window->sortAction()->isEnabled());
    }
};

QTEST_MAIN(TFrmOVarsTest)
#include "TFrmOVarsTest.moc"
