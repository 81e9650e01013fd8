#pragma once

#include "project/ResultWindows.h"

#include <QList>
#include <QPainter>
#include <QString>

#include <cstddef>

namespace probex {

class ProjectModel;
class TReportWriter;

/// One node of the report's tree: a caption with its check mark.
struct TReportNode {
    QString caption;
    bool checked = true;
    QList<TReportNode> children;

    /// The child with the caption, or nullptr.
    const TReportNode* child(const QString& caption) const;
    TReportNode* child(const QString& caption);
    /// The child with the caption exists and is checked.
    bool has(const QString& caption) const;
};

/// The tree of what a report can hold for the project as it stands, every node checked:
/// the root "Report" with "Project report", "Input variables", "Output variables" and, where
/// such windows are open, "1D", "2D", "Probabilities" and "Quantiles".
TReportNode BuildReportTree(ProjectModel& model);

/// The caption of a result window as its title bar shows it.
QString ResultWindowCaption(const ProjectModel& model, ResultWindowKind kind, std::size_t index);

/// The page breaks a person can ask for (all on at first).
struct TReportOptions {
    bool separatePages = true;   ///< after each section
    bool inputsSeparate = true;  ///< after each input variable
    bool outputsSeparate = true; ///< after each output variable
};

/// The graphs a report draws, by whoever can draw them.
class TReportGraphs {
public:
    virtual ~TReportGraphs() = default;
    /// kind 0 histogram, 1 distribution function, 2 quantile function.
    virtual void inputGraph(int row, int kind, QPainter& painter, const QRect& target) = 0;
    virtual void outputGraph(int row, int kind, QPainter& painter, const QRect& target) = 0;
    /// The graph kind a 1D window shows, and that graph.
    virtual int oneDGraphKind(std::size_t index) = 0;
    virtual void oneDGraph(std::size_t index, QPainter& painter, const QRect& target) = 0;
    virtual void twoDPicture(std::size_t index, QPainter& painter, const QRect& target) = 0;
};

/// Writes the report of the checked nodes of `tree` in the order of its sections.
void WriteReport(TReportWriter& writer, ProjectModel& model, const TReportNode& tree,
                 const TReportOptions& options, TReportGraphs& graphs);

} // namespace probex
