#include "gui/results/TFrmOutProb.h"

#include "simulation/HisCompute.h"

namespace probex {

namespace {

const PQWindowTraits ProbabilityWindow{
    ResultWindowKind::Probability,
    "Probabilities",
    "GrdProb",
    "Quantile",
    "Probability",
    owProbability,
    &TGrdOVarSup::probValues,
    &TGrdOVarSup::probResults,
    &TResultWindows::probabilities,
    &HisProbability,
};

} // namespace

TFrmOutProb::TFrmOutProb(ProjectModel& model, std::size_t index, QWidget* parent)
    : TFrmOutPQ(ProbabilityWindow, model, index, parent) {}

} // namespace probex
