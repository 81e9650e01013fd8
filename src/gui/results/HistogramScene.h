#pragma once

#include "gui/components/PlotScene.h"

namespace probex {

struct TOutHis;
struct TSettings;

/// The graphs of a result histogram, as the 1D window shows them.
enum class HistogramGraph { Probability = 0, Distribution = 1, Quantile = 2 };

/// A scene of one series and the four mark lines, in the colours of the settings.
TPlotScene HistogramScene(const TSettings& settings);

/// Draws the histogram's graph of the kind into the scene's series, with the four marks where
/// their values or results lie (lines across the quantile function). The histogram is
/// computed first when it is stale. An empty histogram leaves the series empty.
void DrawHistogram(TPlotScene& scene, TOutHis& his, HistogramGraph graph, const TSettings& settings,
                   bool withMarks);

} // namespace probex
