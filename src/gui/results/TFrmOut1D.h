#pragma once

#include "gui/results/TFrmResult.h"

#include <array>
#include <optional>
#include <string>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;

namespace probex {

class TPlot;
struct T1DWindowDesc;
struct TOutVar;

/// The 1D window: the result histogram of one output variable with its figures, a plot of
/// the histogram, its distribution or its quantile function, four marks, and the variable's
/// "Discrete" and "Recalculate" switches.
class TFrmOut1D : public TFrmResult {
    Q_OBJECT

public:
    static constexpr int NormalHeight = 338;
    static constexpr int ConstantHeight = 72; ///< a variable that kept one value
    static constexpr int MarkCount = 4;

    enum Figure { Min, Max, Mean, Variance, StDev, CoVar, Skew, Kurt, Median, FigureCount };
    /// The graph chosen with the pop-up menu.
    enum GraphKind { ProbabilityFunction = 0, DistributionFunction = 1, QuantileFunction = 2 };

    TFrmOut1D(ProjectModel& model, std::size_t index, QWidget* parent = nullptr);

    void loadDescription() override;
    void refillVariableBoxes(int mode) override;
    void refreshDuringRun(std::int32_t step) override;
    void finalRefresh() override;
    void clearResults() override;
    void setRunning(bool running) override;
    void settingsChanged() override;
    void outputRowChanged(int row) override;

    /// Fills `BoxVariable`: mode 0 every named row, mode 1 the rows with a histogram.
    void BoxVariableFill(int mode);
    void BoxVariableRefill(int mode);
    void BoxVariableSet(const std::string& name);
    /// Shows run-table entry i; the plot and the marks only when asked for.
    void ShowAll(std::int32_t i, bool withPlot, bool withMarks);
    void FormClear();
    void setGraphKind(GraphKind kind);

    std::string variable() const;
    GraphKind graphKind() const { return m_graphKind; }
    QComboBox* variableBox() const { return m_boxVariable; }
    QLineEdit* commentEdit() const { return m_edtCom; }
    QLineEdit* field(Figure figure) const { return m_fields[figure]; }
    QLineEdit* constantField() const { return m_constant; }
    QLabel* constantLabel() const { return m_constantLabel; }
    QCheckBox* discreteBox() const { return m_chbDisc; }
    QCheckBox* recalculateBox() const { return m_chbRecalc; }
    QCheckBox* markBox(int k) const { return m_marks[k].kind; }
    QLineEdit* probabilityEdit(int k) const { return m_marks[k].prob; }
    QLineEdit* quantileEdit(int k) const { return m_marks[k].quant; }
    TPlot* plot() const { return m_plot; }
    QMenu* graphMenu() const { return m_popGraph; }

private:
    struct Mark {
        QCheckBox* kind = nullptr; ///< checked: the value Q is given
        QLineEdit* prob = nullptr;
        QLineEdit* quant = nullptr;
    };

    void buildMarks(QWidget* panel);
    void BoxVariableChange();
    void commentEdited(const QString& text);
    void markKindToggled(int k, bool checked);
    void markEdited(int k, bool probability);
    void discreteToggled(bool checked);
    void recalculateToggled(bool checked);

    int row() const;
    /// The variable's run-table entry with a histogram; nullptr without one.
    TOutVar* histogramEntry(std::int32_t* index = nullptr) const;
    T1DWindowDesc& desc();
    /// The description follows the variable's row (switches, marks, comment).
    void storeDescription();
    void showSwitches(int row);
    /// The row's marks as inputs, results blank.
    void showMarkInputs(int row);
    void showMarkResult(int k, Extended value, Extended result);
    QLineEdit* inputEdit(int k) const;
    QLineEdit* resultEdit(int k) const;
    void setShrunk(bool shrunk);
    void drawPlot(std::int32_t i);
    void applyColours();
    void updateEnabled();

    QComboBox* m_boxVariable;
    QLineEdit* m_edtCom;
    QLineEdit* m_steps;
    QWidget* m_figuresPanel;
    QWidget* m_switchesPanel;
    QWidget* m_marksPanel;
    QWidget* m_constantPanel;
    QLabel* m_constantLabel;
    QLineEdit* m_constant;
    std::array<QLineEdit*, FigureCount> m_fields{};
    QCheckBox* m_chbDisc;
    QCheckBox* m_chbRecalc;
    std::array<Mark, MarkCount> m_marks{};
    TPlot* m_plot;
    QMenu* m_popGraph;
    std::array<QAction*, 3> m_graphItems{};
    GraphKind m_graphKind = ProbabilityFunction;
    /// Unknown at first, so that the first display sizes the window.
    std::optional<bool> m_shrunk;
    bool m_running = false;
};

} // namespace probex
