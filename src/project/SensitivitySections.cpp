#include "project/SensitivitySections.h"

#include "components/Prompter.h"
#include "project/ProjectDocument.h"
#include "project/ProjectLines.h"
#include "sensitivity/SensitivityText.h"
#include "settings/Settings.h"
#include "simulation/OutputTable.h"

namespace probex {

void ReadSensitivitySectionLine(ProjectDocument& model, TSensWindowDesc& pending,
                                std::string_view line) {
    const KeyValue entry = ParseKeyValue(line, model.settings().ListSep);
    if (entry.key == "identification") {
        pending.identification = entry.value;
    } else if (entry.key == "variable") {
        pending.variable = entry.value;
    } else if (entry.key == "event") {
        pending.event = LowerAscii(entry.value) == "yes";
    } else if (entry.key == "measure") {
        for (std::size_t m = 0; m < SensitivityMeasureNames.size(); ++m)
            if (LowerAscii(entry.value) == LowerAscii(SensitivityMeasureNames[m]))
                pending.measure = static_cast<std::int32_t>(m);
    }
}

bool FinishSensitivitySection(ProjectDocument& model, TSensWindowDesc& pending) {
    TSensWindowDesc window = std::move(pending);
    pending = {};
    if (window.event) {
        window.variable.clear();
        model.resultWindows.open(window);
        return true;
    }
    TOutputTable& outputs = model.outputs();
    int row = window.variable.empty() ? 0 : outputs.FindOutputRow(window.variable);
    if (row == 0 && !window.variable.empty()) {
        if (outputs.AddOutputVariable(window.variable) == 0) {
            model.prompter().error("Unable to add variable " + window.variable + "!");
            return false;
        }
        row = outputs.FindOutputRow(window.variable);
    }
    if (row == 0) {
        model.prompter().error("Unable to find variable " + window.variable + "!");
        return false;
    }
    outputs.setCell(row, colActivity, ActivityWord(Activity::Log));
    model.resultWindows.observer().outputRowCurrent(row);
    model.resultWindows.open(window);
    return true;
}

std::string SensitivitySectionsText(const TResultWindows& windows) {
    std::string text;
    const auto put = [&text](const std::string& line) { text += line + "\r\n"; };
    for (const TSensWindowDesc& window : windows.sensitivity) {
        put(SensitivitySectionHeader);
        if (!window.identification.empty()) put("Identification=" + window.identification);
        if (window.event)
            put("Event=Yes");
        else
            put("Variable=" + window.variable);
        const auto measure = static_cast<std::size_t>(window.measure);
        if (measure < SensitivityMeasureNames.size())
            put(std::string("Measure=") + SensitivityMeasureNames[measure]);
        put("");
    }
    return text;
}

} // namespace probex
