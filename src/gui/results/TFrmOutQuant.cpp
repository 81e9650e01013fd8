#include "gui/results/TFrmOutQuant.h"

#include "simulation/HisCompute.h"

namespace probex {

namespace {

const PQWindowTraits QuantileWindow{
    ResultWindowKind::Quantile,
    "Quantiles",
    "GrdQuant",
    "Probability",
    "Quantile",
    owQuantile,
    &TGrdOVarSup::quantProbs,
    &TGrdOVarSup::quantResults,
    &TResultWindows::quantiles,
    &HisQuantile,
};

} // namespace

TFrmOutQuant::TFrmOutQuant(ProjectModel& model, std::size_t index, QWidget* parent)
    : TFrmOutPQ(QuantileWindow, model, index, parent) {}

} // namespace probex
