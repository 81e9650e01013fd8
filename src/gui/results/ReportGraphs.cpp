#include "gui/results/ReportGraphs.h"

#include "gui/components/PlotRenderer.h"
#include "gui/results/HistogramScene.h"
#include "gui/results/ResultFields.h"
#include "gui/results/TFrmOut1D.h"
#include "gui/results/TFrmOut2D.h"
#include "gui/variables/DistributionGraph.h"
#include "model/ProjectModel.h"
#include "results/Picture2D.h"
#include "settings/Settings.h"
#include "simulation/OutEquations.h"
#include "simulation/OutLog.h"
#include "simulation/OutStat.h"

#include <algorithm>

namespace probex {

namespace {

void Render(const TPlotScene& scene, QPainter& painter, const QRect& target) {
    painter.fillRect(target, scene.background);
    RenderPlot(scene, scene.fullRange(), painter, target);
}

/// The 2D picture built in one go from the two logs, as the window builds it in slices; a
/// null image when the pair has no logs, no spread or (for "Prob") no condition to count.
QImage BuiltPicture(ProjectModel& model, const T2DWindowDesc& window) {
    const auto entry = [&model](const std::string& name) -> TOutVar* {
        const int row = name.empty() ? 0 : model.outputs().FindOutputRow(name);
        const std::int32_t active = row != 0 ? model.outputs().FindActiveIndex(row) : 0;
        return active != 0 ? &model.outputs().runTable().item(active) : nullptr;
    };
    const TOutVar* x = entry(window.variableH);
    const TOutVar* y = entry(window.variableV);
    if (!model.resultsExist() || !x || !y || !x->Stat || !y->Stat || !x->Log || !y->Log) return {};
    const Scale2D scale =
        Scale2D::FromRanges(x->Stat->min, x->Stat->max, y->Stat->min, y->Stat->max);
    if (!scale.valid) return {};
    const bool prob = window.colouration == ColourProb;
    TOutEquations& out = model.outEquations();
    if (prob && (out.evalSettings().Mode != OutEvalMode::Probability ||
                 !out.CompileForSteps(model.outEquationLines)))
        return {};
    const std::int32_t total = std::min({model.stepCounter(), x->Log->size(), y->Log->size()});
    PictureGrid grid;
    if (!prob)
        BinPoints(*x->Log, *y->Log, 0, total, scale, grid);
    else if (!BinPointsWithCondition(*x->Log, *y->Log, 0, total, scale, grid,
                                     [&out](std::int32_t k) { return out.ConditionAtStep(k); }))
        return {};
    QImage image(PictureSide, PictureSide, QImage::Format_ARGB32);
    RenderPicture(grid, window.colouration, MakePalette(window.colouration, model.settings()),
                  0xFFFFFFFF, reinterpret_cast<std::uint32_t*>(image.bits()));
    return image;
}

} // namespace

TPlotScene InputGraphScene(ProjectModel& model, int row, int kind) {
    const TSettings& settings = model.settings();
    TPlotScene scene;
    scene.decimalSeparator = QLatin1Char(settings.DecimalSep);
    const auto mode = static_cast<DistGraphMode>(std::clamp(kind, 0, 2));
    const TDistGraph graph = BuildDistGraph(GraphDataFor(model.inputs().record(row)), mode);
    TPlotSeries series;
    series.kind = mode == DistGraphMode::Probability ? PlotSeriesKind::Bar : PlotSeriesKind::Line;
    series.width = mode == DistGraphMode::Probability ? 3 : 1;
    series.color = SettingsColor(settings.PlotDisColor);
    for (const TDistGraphPoint& p : graph.points)
        series.points.append({p.x, p.y});
    scene.series.append(series);
    scene.x.min = graph.xMin;
    scene.x.max = graph.xMax;
    scene.x.automatic = false;
    scene.y.min = graph.yMin;
    scene.y.max = graph.yMax;
    scene.y.automatic = false;
    return scene;
}

TPlotScene OutputGraphScene(ProjectModel& model, int row, int kind) {
    const TSettings& settings = model.settings();
    TPlotScene scene = HistogramScene(settings);
    if (!model.resultsExist()) return scene;
    const std::int32_t i = model.outputs().FindActiveIndex(row);
    if (i <= 0) return scene;
    TOutVar& var = model.outputs().runTable().item(i);
    if (!var.His) return scene;
    DrawHistogram(scene, *var.His, static_cast<HistogramGraph>(std::clamp(kind, 0, 2)), settings);
    return scene;
}

TProjectReportGraphs::TProjectReportGraphs(ProjectModel& model, WindowLookup windowAt)
    : m_model(model), m_windowAt(std::move(windowAt)) {}

void TProjectReportGraphs::inputGraph(int row, int kind, QPainter& painter, const QRect& target) {
    Render(InputGraphScene(m_model, row, kind), painter, target);
}

void TProjectReportGraphs::outputGraph(int row, int kind, QPainter& painter, const QRect& target) {
    Render(OutputGraphScene(m_model, row, kind), painter, target);
}

int TProjectReportGraphs::oneDGraphKind(std::size_t index) {
    if (m_windowAt)
        if (auto* window = dynamic_cast<TFrmOut1D*>(m_windowAt(ResultWindowKind::OneD, index)))
            return window->graphKind();
    return 0;
}

void TProjectReportGraphs::oneDGraph(std::size_t index, QPainter& painter, const QRect& target) {
    const int row = m_model.outputs().FindOutputRow(m_model.resultWindows.oneD[index].variable);
    if (row > 0) outputGraph(row, oneDGraphKind(index), painter, target);
}

void TProjectReportGraphs::twoDPicture(std::size_t index, QPainter& painter, const QRect& target) {
    QImage picture;
    if (m_windowAt)
        if (auto* window = dynamic_cast<TFrmOut2D*>(m_windowAt(ResultWindowKind::TwoD, index)))
            picture = window->picture();
    if (picture.isNull()) picture = BuiltPicture(m_model, m_model.resultWindows.twoD[index]);
    // Crisp cells: the picture is stretched without smoothing.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (!picture.isNull()) painter.drawImage(target, picture);
    painter.drawRect(target.adjusted(0, 0, -1, -1));
}

} // namespace probex
