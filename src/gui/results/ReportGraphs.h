#pragma once

#include "gui/results/ReportContent.h"

#include <functional>

namespace probex {

class ProjectModel;
class TFrmResult;
struct TPlotScene;

/// The scene of an input variable's graph as the distribution inspector draws it: kind 0
/// density, 1 distribution function, 2 quantile function. Constants and step numbers draw
/// nothing.
TPlotScene InputGraphScene(ProjectModel& model, int row, int kind);
/// The scene of an output variable's graph as a 1D window draws it, empty without results.
TPlotScene OutputGraphScene(ProjectModel& model, int row, int kind);

/// The graphs of the report, drawn from the project's results with the plotting of the
/// windows. `windowAt` finds an open window (to draw a 1D window's chosen graph and a 2D
/// window's picture); without it every 1D window draws its histogram.
class TProjectReportGraphs : public TReportGraphs {
public:
    using WindowLookup = std::function<TFrmResult*(ResultWindowKind, std::size_t)>;

    explicit TProjectReportGraphs(ProjectModel& model, WindowLookup windowAt = {});

    void inputGraph(int row, int kind, QPainter& painter, const QRect& target) override;
    void outputGraph(int row, int kind, QPainter& painter, const QRect& target) override;
    int oneDGraphKind(std::size_t index) override;
    void oneDGraph(std::size_t index, QPainter& painter, const QRect& target) override;
    void twoDPicture(std::size_t index, QPainter& painter, const QRect& target) override;

private:
    ProjectModel& m_model;
    WindowLookup m_windowAt;
};

} // namespace probex
