#include "model/ResultWindowOpening.h"

#include "components/Prompter.h"
#include "model/ProjectModel.h"
#include "simulation/HisCompute.h"

namespace probex {

namespace {

bool Shown(const ProjectModel& model, ResultWindowKind kind, const std::string& name) {
    const TResultWindows& windows = model.resultWindows;
    for (std::size_t i = 0; i < windows.count(kind); ++i)
        if (windows.variable(kind, i) == name) return true;
    return false;
}

/// -1 when the name is shown by no window of the kind.
long ShowingIndex(const ProjectModel& model, ResultWindowKind kind, const std::string& name) {
    const TResultWindows& windows = model.resultWindows;
    for (std::size_t i = 0; i < windows.count(kind); ++i)
        if (windows.variable(kind, i) == name) return static_cast<long>(i);
    return -1;
}

/// The row of the name prepared for the window's next run; 0 when there is none.
int PrepareRow(ProjectModel& model, ResultWindowKind kind, const std::string& name) {
    TOutputTable& outputs = model.outputs();
    const Activity wanted =
        kind == ResultWindowKind::Statistics ? Activity::Statistics : Activity::Histogram;
    int row = outputs.FindOutputRow(name);
    if (row != 0) {
        if (ActivityLevel(outputs.cell(row, colActivity)) < static_cast<int>(wanted))
            outputs.setCell(row, colActivity, ActivityWord(wanted));
        return row;
    }
    row = outputs.AddOutputVariable(name);
    if (row == 0) {
        model.prompter().error("Unable to add variable " + name + "!");
        return 0;
    }
    outputs.setCell(row, colActivity, ActivityWord(wanted));
    return row;
}

} // namespace

int OutWindowSlot(ResultWindowKind kind) {
    switch (kind) {
    case ResultWindowKind::Statistics:
        return owStatistics;
    case ResultWindowKind::OneD:
        return ow1D;
    case ResultWindowKind::Probability:
        return owProbability;
    case ResultWindowKind::Quantile:
        return owQuantile;
    case ResultWindowKind::TwoD:
        break;
    }
    return -1;
}

std::string VariableForNewWindow(ProjectModel& model, ResultWindowKind kind, int currentRow) {
    const TOutputTable& outputs = model.outputs();
    if (currentRow >= 1 && currentRow <= OutputRows) {
        const std::string& name = outputs.cell(currentRow, colVariable);
        if (!name.empty() && !Shown(model, kind, name)) return name;
    }
    for (int row = 1; row <= OutputRows; ++row) {
        const std::string& name = outputs.cell(row, colVariable);
        if (!name.empty() && !Shown(model, kind, name)) return name;
    }
    return {};
}

void OpenResultWindow(ProjectModel& model, ResultWindowKind kind, const std::string& name) {
    // A window without a variable could show nothing, and its project would name none.
    if (name.empty()) return;
    TResultWindows& windows = model.resultWindows;
    if (const long shown = ShowingIndex(model, kind, name); shown >= 0) {
        windows.observer().windowRaised(kind, static_cast<std::size_t>(shown));
        return;
    }
    TOutputTable& outputs = model.outputs();
    const int row =
        model.resultsExist() ? outputs.FindOutputRow(name) : PrepareRow(model, kind, name);
    const std::string variable = row != 0 ? outputs.cell(row, colVariable) : std::string();
    const TGrdOVarSup* record = row != 0 ? &outputs.record(row) : nullptr;
    const int slot = OutWindowSlot(kind);
    const std::string identification =
        record != nullptr && slot >= 0 ? record->windowIds[static_cast<std::size_t>(slot)] : "";
    const bool discrete = row != 0 && outputs.cell(row, colDiscrete) == "Yes";

    switch (kind) {
    case ResultWindowKind::Statistics:
        windows.open(TStatWindowDesc{variable, identification});
        return;
    case ResultWindowKind::OneD: {
        T1DWindowDesc window{variable, identification, discrete, false, {}, {}};
        if (record != nullptr) {
            window.recalculate = outputs.cell(row, colRecalculate) == "Yes";
            window.markKinds = record->markKinds;
            window.markValues = record->markValues;
        }
        windows.open(window);
        return;
    }
    case ResultWindowKind::Probability:
    case ResultWindowKind::Quantile: {
        const bool quantiles = kind == ResultWindowKind::Quantile;
        TPQWindowDesc window;
        window.variable = variable;
        window.identification = identification;
        window.discrete = discrete;
        if (record != nullptr) {
            const auto& inputs = quantiles ? record->quantProbs : record->probValues;
            window.inputs.assign(inputs.begin(), inputs.end());
        }
        if (quantiles)
            windows.openQuantile(window);
        else
            windows.openProbability(window);
        return;
    }
    case ResultWindowKind::TwoD:
        return;
    }
}

bool RecalculateWanted(const TOutputTable& outputs, int row) {
    return row != 0 && outputs.cell(row, colRecalculate) == "Yes" &&
           outputs.cell(row, colActivity) == "Log";
}

void FinalOneDHistogram(TOutputTable& outputs, int row, std::int32_t steps) {
    const std::int32_t i = row != 0 ? outputs.FindActiveIndex(row) : 0;
    if (i == 0) return;
    TOutVar& entry = outputs.runTable().item(i);
    if (!entry.His) return;
    if (RecalculateWanted(outputs, row) && entry.Log && entry.Stat)
        outputs.HisRecalculate(i, steps);
    else
        HisCompute(*entry.His, 3, true);
}

void FinalOneDHistograms(ProjectModel& model) {
    TOutputTable& outputs = model.outputs();
    for (const T1DWindowDesc& window : model.resultWindows.oneD)
        FinalOneDHistogram(outputs, outputs.FindOutputRow(window.variable), model.stepCounter());
}

} // namespace probex
