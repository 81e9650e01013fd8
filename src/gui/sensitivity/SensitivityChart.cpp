#include "gui/sensitivity/SensitivityChart.h"

#include "gui/components/PlotScene.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace probex {

void FillSensitivityChart(TPlotScene& scene, const TSensitivity& sensitivity,
                          SensitivityMeasure measure, int thickness) {
    scene.series.clear();
    scene.y.categories.clear();
    scene.x.title = QLatin1String(SensitivityMeasureNames[static_cast<std::size_t>(measure)]);
    scene.title = QString::fromLatin1(sensitivity.output.c_str());
    scene.x.automatic = true;
    if (sensitivity.inputs.empty()) {
        scene.y.automatic = true;
        return;
    }
    std::vector<const TInputSensitivity*> order;
    for (const TInputSensitivity& in : sensitivity.inputs)
        order.push_back(&in);
    const auto size = [measure](const TInputSensitivity* in) {
        const double v = MeasureValue(*in, measure);
        return std::isnan(v) ? -1.0 : std::fabs(v);
    };
    // The smallest first: the category axis counts from the bottom.
    std::stable_sort(order.begin(), order.end(),
                     [&size](auto* a, auto* b) { return size(a) < size(b); });
    const int n = static_cast<int>(order.size());
    for (int k = 0; k < n; ++k) {
        const TInputSensitivity& in = *order[static_cast<std::size_t>(k)];
        scene.y.categories << QString::fromLatin1(in.input.c_str());
        const double v = MeasureValue(in, measure);
        if (std::isnan(v)) continue;
        TPlotSeries bar;
        bar.kind = PlotSeriesKind::HorizontalBar;
        bar.name = QString::fromLatin1(in.input.c_str());
        bar.color = v >= 0 ? QColor(0x30, 0x60, 0xC0) : QColor(0xC0, 0x40, 0x30);
        bar.width = thickness;
        bar.points = {QPointF(v, k + 1)};
        scene.series.append(bar);
        if (measure == SensitivityMeasure::FirstOrder && std::isfinite(in.firstOrderLow)) {
            TPlotSeries interval;
            interval.kind = PlotSeriesKind::Line;
            interval.color = Qt::black;
            interval.points = {QPointF(in.firstOrderLow, k + 1), QPointF(in.firstOrderHigh, k + 1)};
            scene.series.append(interval);
        }
    }
    scene.y.automatic = false;
    scene.y.min = 0.4;
    scene.y.max = n + 0.6;
}

int SensitivityBarThickness(int height, std::size_t inputs) {
    return std::clamp(height / (2 * static_cast<int>(inputs) + 2), 3, 24);
}

} // namespace probex
