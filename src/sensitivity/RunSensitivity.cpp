#include "sensitivity/RunSensitivity.h"

#include "engine/Expression.h"
#include "simulation/OutEquations.h"
#include "simulation/OutputTable.h"

#include <algorithm>

namespace probex {

namespace {

std::vector<double> LogValues(const TOutLog& log, std::int32_t steps) {
    std::vector<double> values(static_cast<std::size_t>(std::clamp(steps, 0, log.size())));
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<double>(log[static_cast<std::int32_t>(i)]);
    return values;
}

TSensitivity Analyse(const TOutputTable& outputs, std::string name,
                     const std::vector<double>& values, bool event) {
    const auto& logs = outputs.inputLogs().logs();
    std::vector<std::vector<double>> columns;
    std::vector<TSampledInput> inputs;
    columns.reserve(logs.size());
    for (const TInputLog& log : logs)
        columns.push_back(LogValues(log.log, static_cast<std::int32_t>(values.size())));
    for (std::size_t i = 0; i < logs.size(); ++i)
        inputs.push_back({logs[i].name, columns[i]});
    return AnalyseSensitivity(std::move(name), inputs, values, event);
}

} // namespace

std::vector<std::string> SensitivityOutputs(const TOutputTable& outputs) {
    std::vector<std::string> names;
    if (outputs.inputLogs().empty()) return names;
    const TOutVarSet& run = outputs.runTable();
    for (std::int32_t i = 1; i <= run.count(); ++i)
        if (run.item(i).Log) names.push_back(outputs.cell(run.item(i).Row, colVariable));
    return names;
}

std::optional<TSensitivity> OutputSensitivity(const TOutputTable& outputs, std::string_view name,
                                              std::int32_t steps) {
    const int row = outputs.FindOutputRow(name);
    const std::int32_t active = row != 0 ? outputs.FindActiveIndex(row) : 0;
    if (active == 0 || outputs.inputLogs().empty()) return std::nullopt;
    const TOutVar& entry = outputs.runTable().item(active);
    if (!entry.Log) return std::nullopt;
    return Analyse(outputs, outputs.cell(row, colVariable), LogValues(*entry.Log, steps), false);
}

std::optional<TSensitivity> EventSensitivity(const TOutputTable& outputs, TOutEquations& out,
                                             std::int32_t steps) {
    if (outputs.inputLogs().empty() || !out.compiled() ||
        out.evalSettings().Mode != OutEvalMode::Probability)
        return std::nullopt;
    std::vector<double> values(static_cast<std::size_t>(std::max(steps, 0)));
    for (std::int32_t slot = 0; slot < steps; ++slot) {
        const TOutEquations::Condition c = out.ConditionAtStep(slot);
        if (!c.ok) return std::nullopt;
        values[static_cast<std::size_t>(slot)] = c.holds ? 1 : 0;
    }
    return Analyse(outputs, EventOutputName, values, true);
}

} // namespace probex
