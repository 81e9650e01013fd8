#pragma once

#include "gui/components/PlotScene.h"

namespace probex {

struct TOutHis;
struct TSettings;

/// The graphs of a result histogram, as the 1D window shows them.
enum class HistogramGraph { Probability = 0, Distribution = 1, Quantile = 2 };

/// A scene of one series and the four mark lines, in the colours of the settings.
TPlotScene HistogramScene(const TSettings& settings);

/// Draws the histogram's graph of the kind into the scene's first series and fits the axes to
/// it; the mark lines turn across the quantile function. A stale histogram is computed to its
/// first level first.
void DrawHistogramCurve(TPlotScene& scene, TOutHis& his, HistogramGraph graph,
                        const TSettings& settings);

/// The curve with the four marks where their values or results lie, from the histogram
/// computed to its last level. A histogram without a range leaves the scene empty.
void DrawHistogram(TPlotScene& scene, TOutHis& his, HistogramGraph graph,
                   const TSettings& settings);

} // namespace probex
