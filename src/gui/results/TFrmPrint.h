#pragma once

#include "gui/results/ReportContent.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QPrinter;
class QTreeWidget;
class QTreeWidgetItem;

namespace probex {

class ProjectModel;

/// The "Print" dialog: a tree of what the report can hold, every node ticked at first, with
/// the option group of the selected section beside it. Setup opens the printer set-up,
/// Preview shows the pages before anything is printed.
class TFrmPrint : public QDialog {
    Q_OBJECT

public:
    TFrmPrint(ProjectModel& model, TReportGraphs& graphs, QPrinter& printer,
              QWidget* parent = nullptr);

    /// The tree with the check marks as the person left them.
    TReportNode choices() const;
    TReportOptions options() const;

    QTreeWidget* tree() const { return m_tree; }
    QGroupBox* reportOptions() const { return m_boxRep; }
    QGroupBox* inputOptions() const { return m_boxInpVar; }
    QGroupBox* outputOptions() const { return m_boxOutVar; }
    /// An option box by its caption ("Print All", "Parameters", ...) within a group.
    QCheckBox* option(QGroupBox* group, const QString& caption) const;

    /// Lays the report out on `printer` with the current choices.
    void printOn(QPrinter& printer);

private:
    void FormShow();
    void showGroupFor(QTreeWidgetItem* item);
    /// Sets the check of the child `caption` of every variable under the section.
    void setVariableItems(const QString& section, const QString& caption, bool checked);
    void preview();

    ProjectModel& m_model;
    TReportGraphs& m_graphs;
    QPrinter& m_printer;
    QTreeWidget* m_tree = nullptr;
    QGroupBox* m_boxRep = nullptr;
    QGroupBox* m_boxInpVar = nullptr;
    QGroupBox* m_boxOutVar = nullptr;
};

/// The Print command: the dialog, then the print dialog, then the report on the printer.
void PrintProjectReport(ProjectModel& model, TReportGraphs& graphs, QWidget* parent);

} // namespace probex
