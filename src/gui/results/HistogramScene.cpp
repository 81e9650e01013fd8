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

void DrawHistogram(TPlotScene& scene, TOutHis& his, HistogramGraph graph, const TSettings& settings,
                   bool withMarks) {
    TPlotSeries& series = scene.series[0];
    series.points.clear();
    for (TPlotMarker& marker : scene.markers)
        marker.visible = false;
    if (!his.rangeSet) return;
    if (his.level < 3) HisCompute(his, 3, true);
    const HisCurvePoints curve = HisCurve(his, static_cast<HisCurveKind>(graph));
    const bool bars = graph == HistogramGraph::Probability;
    series.kind = bars ? PlotSeriesKind::Bar : PlotSeriesKind::Line;
    series.width = bars ? settings.Graph1DBarWidth : 1;
    series.points.reserve(static_cast<qsizetype>(curve.points.size()));
    for (const HisCurvePoint& point : curve.points)
        series.points.append(QPointF(static_cast<double>(point.x), static_cast<double>(point.y)));
    scene.x = {static_cast<double>(curve.xMin), static_cast<double>(curve.xMax),
               !(curve.xMax > curve.xMin), scene.x.title};
    scene.y = {static_cast<double>(curve.yMin), static_cast<double>(curve.yMax),
               !(curve.yMax > curve.yMin), scene.y.title};
    if (!withMarks) return;
    for (int k = 0; k < scene.markers.size() && k < 4; ++k) {
        TPlotMarker& marker = scene.markers[k];
        marker.orientation = curve.verticalMarks ? Qt::Vertical : Qt::Horizontal;
        // A mark given as a value Q sits at Q; one given as a probability at its quantile.
        marker.value =
            static_cast<double>(his.markKinds[k] ? his.markValues[k] : his.markResults[k]);
        marker.visible = true;
    }
}

} // namespace probex
