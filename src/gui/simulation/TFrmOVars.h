#pragma once

#include <QWidget>

class QAction;
class QTableView;

namespace probex {

class OutputTableModel;
class PickListDelegate;
class ProjectModel;

/// The "Evaluated variables" window: the grid `GrdOVars` over the project's output table,
/// to live in an MDI sub-window.
class TFrmOVars : public QWidget {
    Q_OBJECT

public:
    TFrmOVars(ProjectModel& model, QWidget* parent = nullptr);

    QTableView* grid() const { return m_grid; }
    OutputTableModel* tableModel() const { return m_tableModel; }

    /// Re-reads every cell from the core table.
    void refreshFromModel();
    /// The table cannot change while a run is going; "View variable" keeps its state.
    void setRunning(bool running);
    /// The table row (1..255) of the grid's current cell, 0 when there is none.
    int currentRow() const;

    // The pop-up menu's commands; the main window may put them into its menus too.
    /// Disabled until 1D windows exist; triggers viewRequested.
    QAction* viewVariableAction() const { return m_view; }
    QAction* deleteVariableAction() const { return m_delVar; }
    QAction* deleteAllAction() const { return m_delVars; }
    QAction* compactAction() const { return m_compact; }
    QAction* sortAction() const { return m_sort; }
    QAction* allStatisticsAction() const { return m_allStatistics; }
    QAction* allHistogramsAction() const { return m_allHis; }
    QAction* allLogsAction() const { return m_allLogs; }
    QAction* allInactiveAction() const { return m_allInactive; }

signals:
    /// "View variable": a 1D window is wanted for the variable of a table row (1..255).
    void viewRequested(int row);

private slots:
    void ItmViewClick();
    void ItmDelVarClick();
    void ItmDelVarsClick();
    void ItmCompactClick();
    void ItmAllStatisticsClick();
    void ItmAllHisClick();
    void ItmAllLogsClick();
    void ItmAllInactiveClick();

private:
    QAction* addMenuItem(const QString& name, const QString& caption, const QKeySequence& key);

    ProjectModel& m_model;
    OutputTableModel* m_tableModel;
    QTableView* m_grid;
    PickListDelegate* m_activityDelegate;
    PickListDelegate* m_yesNoDelegate;
    QAction* m_view;
    QAction* m_delVar;
    QAction* m_delVars;
    QAction* m_compact;
    QAction* m_sort;
    QAction* m_allStatistics;
    QAction* m_allHis;
    QAction* m_allLogs;
    QAction* m_allInactive;
};

} // namespace probex
