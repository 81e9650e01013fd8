#pragma once

#include "gui/results/TFrmResult.h"

#include <array>
#include <optional>
#include <string>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;

namespace probex {

struct TOutStat;

/// The statistics window: the statistics accumulator's figures of one output variable.
class TFrmOutStat : public TFrmResult {
    Q_OBJECT

public:
    static constexpr int NormalHeight = 188;
    static constexpr int ValueHeight = 120; ///< a variable that kept one value

    /// The figures in display order.
    enum Figure { Min, Max, Mean, Variance, StDev, CoVar, Skew, Kurt, Sum, FigureCount };

    TFrmOutStat(ProjectModel& model, std::size_t index, QWidget* parent = nullptr);

    void loadDescription() override;
    void refillVariableBoxes(int mode) override;
    void refreshDuringRun(std::int32_t step) override;
    void finalRefresh() override;
    void clearResults() override;
    void setRunning(bool running) override;

    /// Fills `BoxVariable`: mode 0 every named row, mode 1 the rows a run gathers statistics of.
    void BoxVariableFill(int mode);
    /// Refills keeping the chosen name; the window asks to close when the name is gone.
    void BoxVariableRefill(int mode);
    /// Chooses the name and shows it.
    void BoxVariableSet(const std::string& name);
    /// Shows run-table entry i.
    void ShowAll(std::int32_t i);
    void FormClear();

    QComboBox* variableBox() const { return m_boxVariable; }
    QLineEdit* commentEdit() const { return m_edtCom; }
    QLineEdit* field(Figure figure) const { return m_fields[figure]; }
    QLabel* label(Figure figure) const { return m_labels[figure]; }
    QLineEdit* stepsField() const { return m_steps; }
    std::string variable() const;

private:
    void BoxVariableChange();
    void commentEdited(const QString& text);
    /// The variable's statistics computed to `level` (kept when already there) and shown.
    void showComputed(int level);
    void setShrunk(bool shrunk);

    QComboBox* m_boxVariable;
    QLineEdit* m_edtCom;
    QLineEdit* m_steps;
    std::array<QLabel*, FigureCount> m_labels{};
    std::array<QLineEdit*, FigureCount> m_fields{};
    /// Unknown at first, so that the first display sizes the window.
    std::optional<bool> m_shrunk;
};

} // namespace probex
