#include "gui/results/HistogramScene.h"

#include "gui/results/ResultFields.h"
#include "settings/Settings.h"
#include "simulation/HisCompute.h"
#include "simulation/OutHis.h"

namespace probex {

TPlotScene HistogramScene(const TSettings& settings) {
    TPlotScene scene;
    TPlotSeries series;
    series.color = SettingsColor(settings.Plot1DColor);
    scene.series.append(series);
    for (std::int32_t colour :
         {settings.Mark1Color, settings.Mark2Color, settings.Mark3Color, settings.Mark4Color}) {
        TPlotMarker marker;
        marker.color = SettingsColor(colour);
        marker.visible = false;
        scene.markers.append(marker);
    }
    scene.decimalSeparator = QLatin1Char(settings.DecimalSep);
    return scene;
}

void DrawHistogramCurve(TPlotScene& scene, TOutHis& his, HistogramGraph graph,
                        const TSettings& settings) {
    if (his.level == 0) HisCompute(his, 1, true);
    const HisCurvePoints curve = HisCurve(his, static_cast<HisCurveKind>(graph));
    TPlotSeries& series = scene.series[0];
    const bool bars = graph == HistogramGraph::Probability;
    series.kind = bars ? PlotSeriesKind::Bar : PlotSeriesKind::Line;
    series.width = bars ? settings.Graph1DBarWidth : 1;
    series.points.clear();
    series.points.reserve(static_cast<qsizetype>(curve.points.size()));
    for (const HisCurvePoint& point : curve.points)
        series.points.append(QPointF(static_cast<double>(point.x), static_cast<double>(point.y)));
    for (TPlotMarker& marker : scene.markers)
        marker.orientation = curve.verticalMarks ? Qt::Vertical : Qt::Horizontal;
    // A curve of one point has no span: that axis takes its range from the points.
    scene.x.automatic = !(curve.xMax > curve.xMin);
    if (!scene.x.automatic) {
        scene.x.min = static_cast<double>(curve.xMin);
        scene.x.max = static_cast<double>(curve.xMax);
    }
    scene.y.automatic = !(curve.yMax > curve.yMin);
    if (!scene.y.automatic) {
        scene.y.min = static_cast<double>(curve.yMin);
        scene.y.max = static_cast<double>(curve.yMax);
    }
}

void DrawHistogram(TPlotScene& scene, TOutHis& his, HistogramGraph graph,
                   const TSettings& settings) {
    scene.series[0].points.clear();
    for (TPlotMarker& marker : scene.markers)
        marker.visible = false;
    if (!his.rangeSet) return;
    if (his.level < 3) HisCompute(his, 3, true);
    DrawHistogramCurve(scene, his, graph, settings);
    for (int k = 0; k < scene.markers.size() && k < 4; ++k) {
        TPlotMarker& marker = scene.markers[k];
        // A mark given as a value Q sits at Q; one given as a probability at its quantile.
        const auto K = static_cast<std::size_t>(k);
        marker.value =
            static_cast<double>(his.markKinds[K] ? his.markValues[K] : his.markResults[K]);
        marker.visible = true;
    }
}

} // namespace probex
