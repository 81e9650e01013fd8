#pragma once

#include "sensitivity/RankSensitivity.h"

#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace probex {

class ProjectModel;
class TPlot;
struct TSensWindowDesc;

/// The sensitivity window: for one logged output, or the event of the out equations, how
/// much each sampled input drives it, as a grid and a tornado chart of one measure. Computed
/// from the run's own steps, so the run must have kept the inputs' values (it does while such
/// a window is open).
class TFrmSensitivity : public QWidget {
    Q_OBJECT

public:
    /// Grid columns.
    enum Column { colInput, colRank, colContribution, colFirst, colInterval, colShift, colForm };

    TFrmSensitivity(ProjectModel& model, std::size_t index, QWidget* parent = nullptr);

    std::size_t index() const { return m_index; }
    void setIndex(std::size_t index) { m_index = index; }

    /// Shows the description at index() and computes from the results there are.
    void loadDescription();
    /// The chooser lists every logged output and, in Probability mode, the event.
    void refillVariableBox();
    /// Computes from the steps run so far and shows the outcome.
    void refresh();
    void clearResults();
    void setRunning(bool running);

    /// The grid as tab-separated text with its titles, as Copy puts it on the clipboard.
    QString tableText() const;
    const std::optional<TSensitivity>& shown() const { return m_shown; }

    QComboBox* variableBox() const { return m_boxVariable; }
    QComboBox* measureBox() const { return m_boxMeasure; }
    QTableWidget* grid() const { return m_grid; }
    TPlot* chart() const { return m_chart; }
    QLabel* note() const { return m_note; }

signals:
    /// A person chose another output: windows showing the same one close.
    void variableChosen();

protected:
    /// The chart's bars keep their share of its height when it is resized.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TSensWindowDesc& desc();
    void variableChange();
    void measureChange();
    void show(const TSensitivity& sensitivity);
    void drawChart();

    ProjectModel& m_model;
    std::size_t m_index;
    QComboBox* m_boxVariable;
    QComboBox* m_boxMeasure;
    QLineEdit* m_edtCom;
    QLabel* m_note;
    QTableWidget* m_grid;
    TPlot* m_chart;
    std::optional<TSensitivity> m_shown;
};

} // namespace probex
