#pragma once

#include "results/SaveResults.h"

#include <QDialog>

#include <vector>

class QTreeWidget;
class QTreeWidgetItem;
class QPushButton;

namespace probex {

class ProjectModel;

/// The "Save results" dialog: a tree of the result files that can be written now, every
/// entry checked, and OK writing the checked ones through the result file writers.
class TFrmSaveRes : public QDialog {
    Q_OBJECT

public:
    explicit TFrmSaveRes(ProjectModel& model, QWidget* parent = nullptr);

    /// Fills the tree from the results as they stand and shows the dialog modally.
    int execute();
    /// Fills the tree: six roots, under each the variables whose results it can write.
    void prepare();
    /// Writes the checked entries. Closes the dialog when every file was written; after a
    /// failed write (its message shown) it stays open.
    void ButOKClick();

    QTreeWidget* tree() const { return m_saveTree; }
    /// The checked entries, kinds in tree order.
    std::vector<ResultEntry> checkedEntries() const;
    /// What the last ButOKClick wrote.
    const SaveResultsReport& lastReport() const { return m_report; }

private:
    ProjectModel& m_model;
    QTreeWidget* m_saveTree = nullptr;
    QPushButton* m_butOK = nullptr;
    SaveResultsReport m_report;
};

} // namespace probex
