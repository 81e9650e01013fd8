#pragma once

#include "sensitivity/SensitivityText.h"

namespace probex {

struct TPlotScene;

/// Fills the scene with a tornado chart of the measure: a horizontal bar per input, the
/// largest on top (blue above zero, red below), the first-order interval as a thin line
/// across its bar. Bars are `thickness` pixels thick.
void FillSensitivityChart(TPlotScene& scene, const TSensitivity& sensitivity,
                          SensitivityMeasure measure, int thickness);

/// The bar thickness that lets `inputs` bars share `height` pixels.
int SensitivityBarThickness(int height, std::size_t inputs);

} // namespace probex
