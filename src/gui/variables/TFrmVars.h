#pragma once

#include <QWidget>

class QAction;
class QTableView;

namespace probex {

class InputTableModel;
class KeyNoteDelegate;
class ParametersDelegate;
class ProjectModel;
class TypeDelegate;

/// The "Input variables" window: the grid `GrdVars` over the project's input table, to live
/// in an MDI sub-window.
class TFrmVars : public QWidget {
    Q_OBJECT

public:
    TFrmVars(ProjectModel& model, QWidget* parent = nullptr);

    QTableView* grid() const { return m_grid; }
    InputTableModel* tableModel() const { return m_tableModel; }

    /// Commits a cell editor left open, as the run command needs before it starts. Returns
    /// TInputTable::EditAccepted() afterwards.
    bool commitPendingEdit();
    /// Re-reads every cell from the core table.
    void refreshFromModel();
    /// The table cannot change while a run is going.
    void setRunning(bool running);
    /// The table row (1..255) of the grid's current cell, 0 when there is none.
    int currentRow() const;

    QAction* viewAction() const { return m_view; }
    QAction* sortAction() const { return m_sort; }
    QAction* compactAction() const { return m_compact; }
    QAction* deleteVariableAction() const { return m_delVar; }
    QAction* deleteAllAction() const { return m_delVars; }

signals:
    /// The distribution inspector is wanted on a table row (1..255): the ellipsis button of
    /// the "Parameters" cell or "View variable".
    void inspectRequested(int row);
    /// "Correlations" of the pop-up menu.
    void correlationsRequested();

private slots:
    void ItmViewClick();
    void ItmCompactClick();
    void ItmDelVarClick();
    void ItmDelVarsClick();

private:
    QAction* addMenuItem(const QString& name, const QString& caption, const QKeySequence& key);

    ProjectModel& m_model;
    InputTableModel* m_tableModel;
    QTableView* m_grid;
    KeyNoteDelegate* m_keyDelegate;
    TypeDelegate* m_typeDelegate;
    ParametersDelegate* m_parametersDelegate;
    QAction* m_view;
    QAction* m_correlations;
    QAction* m_sort;
    QAction* m_compact;
    QAction* m_delVar;
    QAction* m_delVars;
};

} // namespace probex
