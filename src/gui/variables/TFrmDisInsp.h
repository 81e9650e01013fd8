#pragma once

#include "gui/variables/DistributionGraph.h"

#include <QDialog>

class QActionGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QWidget;

namespace probex {

class ProjectModel;
struct TIis;
class Prompter;
class TPlot;

/// The distribution inspector: sets and checks the parameters of one input variable and
/// draws its distribution. Works directly on the input table's records: Set, Reset and
/// closing change the record at once.
class TFrmDisInsp : public QDialog {
    Q_OBJECT

public:
    TFrmDisInsp(ProjectModel& model, Prompter& prompter, QWidget* parent = nullptr);

    /// Fills the variable list, selects the row's name and shows the dialog (window-modal,
    /// returns at once; `finished` tells when it closed).
    void inspect(int row);
    /// As inspect, but waits until the dialog is closed.
    int inspectModal(int row);
    /// Fills the variable list and shows the row's variable without showing the dialog
    /// (for drawing graphs to save).
    void prepare(int row);
    /// Selects a variable by name in the list; false when it is not there.
    bool selectVariable(const QString& name);

    /// The input table row shown, 0 when none.
    int currentRow() const { return m_row; }
    DistGraphMode graphMode() const { return m_mode; }
    void setGraphMode(DistGraphMode mode);
    TPlot* graph() const { return m_graph; }

public slots:
    /// "&Set": reads the fields back, checks them, warns and refreshes the row.
    void set();
    /// "&Reset": asks, then restores the kind's defaults.
    void reset();
    /// OK and the close box: checked closing.
    void accept() override;
    void reject() override;

signals:
    /// The record and the "Parameters" cell of the row may have changed.
    void rowChanged(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Layout { None, Single, Full, Unknown };

    void buildControls();
    QWidget* buildParameterPanel();
    void buildGraphMenu();
    void fillVariableBox();
    void showVariable(const QString& name);
    void formFill();
    void applyLayout(Layout layout);
    void statFill();
    /// Reads the fields into the record; a field that is no number throws after the fields
    /// before it were stored.
    void readBack(TIis& iis);
    bool checkAndApply(bool closing);
    void drawGraph();
    void variableChosen(int index);

    ProjectModel& m_model;
    Prompter& m_prompter;
    int m_row = 0;
    DistGraphMode m_mode = DistGraphMode::Probability;
    TDistGraphData m_data;
    bool m_filling = false;

    QComboBox* m_boxVariable = nullptr;
    QLineEdit* m_edtCom = nullptr;
    QLabel* m_lDis = nullptr;
    QWidget* m_singlePanel = nullptr;
    QWidget* m_fullPanel = nullptr;
    QWidget* m_filePanel = nullptr;
    QWidget* m_statPanel = nullptr;
    QComboBox* m_cbVal = nullptr;
    QLineEdit* m_edtFileName = nullptr;
    QLabel* m_lClasses = nullptr;
    QLineEdit* m_edtMin = nullptr;
    QLineEdit* m_edtMax = nullptr;
    QLineEdit* m_edtMean = nullptr;
    QLineEdit* m_edtStDev = nullptr;
    QLineEdit* m_edtMode = nullptr;
    QLineEdit* m_edtMed = nullptr;
    QLineEdit* m_edtVari = nullptr;
    QLineEdit* m_edtCoVar = nullptr;
    QLineEdit* m_edtSkew = nullptr;
    QLineEdit* m_edtKurt = nullptr;
    TPlot* m_graph = nullptr;
    int m_resHis = -1;
    int m_resCum = -1;
    int m_resQua = -1;
    QActionGroup* m_modeActions = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QPushButton* m_btnOk = nullptr;
    QPushButton* m_btnReset = nullptr;
    QPushButton* m_btnSet = nullptr;
};

} // namespace probex
