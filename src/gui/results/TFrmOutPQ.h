#pragma once

#include "engine/Extended.h"
#include "gui/results/TFrmResult.h"
#include "simulation/OutputTable.h"

#include <QString>

#include <array>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTableView;

namespace probex {

class PQGridModel;
struct TOutHis;
struct TOutVar;

/// What tells the probability window from the quantile window: which column is the input,
/// which function computes the result and where the numbers are kept.
struct PQWindowTraits {
    using Slots = PQSlots;

    ResultWindowKind kind;
    const char* caption;     ///< "Probabilities", "Quantiles"
    const char* gridName;    ///< "GrdProb", "GrdQuant"
    const char* inputTitle;  ///< the input column's title
    const char* resultTitle; ///< the result column's title
    OutWindowKind commentSlot;
    Slots TGrdOVarSup::*inputs;
    Slots TGrdOVarSup::*results;
    std::vector<TPQWindowDesc> TResultWindows::*list;
    Extended (*compute)(TOutHis& his, Extended input);
};

/// A window that turns a column of numbers into the matching column of results for one
/// output variable, computed from its result histogram. The inputs and results are kept in
/// the variable's record of the output table; the window's description (variable, comment,
/// discrete switch, inputs) follows every change at once so that project files keep it.
class TFrmOutPQ : public TFrmResult {
    Q_OBJECT

public:
    TFrmOutPQ(const PQWindowTraits& traits, ProjectModel& model, std::size_t index,
              QWidget* parent);

    // TFrmResult
    void loadDescription() override;
    void refillVariableBoxes(int mode) override;
    void refreshDuringRun(std::int32_t step) override;
    void finalRefresh() override;
    void clearResults() override;
    void setRunning(bool running) override;
    void settingsChanged() override;
    void outputRowChanged(int row) override;

    /// Fills the variable box: mode 0 every named row, mode 1 the rows whose activity is
    /// "Histogram" or "Log".
    void BoxVariableFill(int mode);
    /// Refills keeping the chosen name; asks to be closed when the name is gone. False then.
    bool BoxVariableRefill(int mode);
    /// Chooses a variable as if a person had picked it.
    void BoxVariableSet(const QString& name);
    /// The input slots of a row into the input column, the result slots into the result
    /// column.
    void VFill(int row);
    void RFill(int row);
    /// Recomputes every result slot of the row from its histogram.
    void CalculateResults(int row);
    /// Gives the grid `lines` lines (`PQLines` changed).
    void LineCountSet(int lines);
    /// After a reset: the results are blank.
    void FormClear();

    /// The variable shown, empty when none is chosen.
    QString variableName() const;
    QTableView* grid() const { return m_grid; }
    QComboBox* variableBox() const { return m_boxVariable; }
    QCheckBox* discreteBox() const { return m_chBDisc; }
    QLineEdit* commentLine() const { return m_edtCom; }
    PQGridModel* gridModel() const { return m_gridModel; }

    /// Client size: both columns and every line, at most 500 pixels high.
    QSize sizeHint() const override;

private:
    void buildWindow();
    void BoxVariableChange();
    void showVariable(int row);
    void GridUserChanged(int line, const QString& text);
    void ChBDiscClick(bool checked);
    void EdtComChange(const QString& text);
    /// The switch, the histogram's flag and the results follow the "Discrete" cell.
    void followDiscrete(bool discrete);
    /// Widens a column that is too narrow for one of its texts, and the grid with it.
    void fitColumns();

    TPQWindowDesc* description();
    /// The output table row of the variable shown, 0 when none.
    int shownRow() const;
    /// The histogram of the row's run-table entry; nullptr when it has none.
    TOutHis* histogramOf(int row) const;
    bool runTableExists() const;
    QString formatted(Extended value) const;

    const PQWindowTraits& m_traits;
    QComboBox* m_boxVariable = nullptr;
    QCheckBox* m_chBDisc = nullptr;
    QLineEdit* m_edtCom = nullptr;
    QTableView* m_grid = nullptr;
    PQGridModel* m_gridModel = nullptr;
    int m_columnWidth = 0; ///< what a column starts with
    std::string m_shown;   ///< the variable shown, as its table cell spells it
};

} // namespace probex
