#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QTableWidget;
class QTableWidgetItem;

namespace probex {

class ProjectModel;

/// The "Correlations" window: a symmetric grid of the sampled inputs holding the rank
/// correlation of every pair. Editing a cell sets the pair and its mirror cell and discards
/// the results; a cell that is no number or not strictly between -1 and 1 is refused.
class TFrmCorrelations : public QDialog {
    Q_OBJECT

public:
    TFrmCorrelations(ProjectModel& model, QWidget* parent = nullptr);

    /// Fills the grid from the input table and the project's correlations, then shows the
    /// window modally: the tables cannot change under it.
    void showCorrelations();
    /// Fills the grid from the model.
    void fill();

    QTableWidget* grid() const { return m_grid; }

private slots:
    void GrdCorrelationsChanged(QTableWidgetItem* item);

private:
    QString cellText(int row, int column) const;
    void setCell(int row, int column, const QString& text);

    ProjectModel& m_model;
    QTableWidget* m_grid;
    std::vector<std::string> m_names; ///< the sampled inputs, one per row and column
    bool m_filling = false;
};

} // namespace probex
