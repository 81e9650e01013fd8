#include "project/ProjectWriter.h"

#include "components/Prompter.h"
#include "project/CorrelationsSection.h"
#include "project/LayoutFile.h"
#include "project/ProjectDocument.h"
#include "project/ProjectLines.h"
#include "project/ResultWindowSections.h"
#include "project/SensitivitySections.h"
#include "project/UnkeptTexts.h"
#include "settings/IniFile.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"
#include "simulation/OutEquations.h"
#include "simulation/OutputTable.h"
#include "variables/InputTable.h"

namespace probex {

namespace {

const char* EvaluateWord(OutEvalMode mode) {
    switch (mode) {
    case OutEvalMode::Probability:
        return "Probability";
    case OutEvalMode::Parameter:
        return "Parameter";
    case OutEvalMode::Inactive:
        break;
    }
    return "Inactive";
}

} // namespace

std::string ProjectText(ProjectDocument& model) {
    const TSettings& settings = model.settings();
    const char sep = settings.DecimalSep;
    const std::string L(1, settings.ListSep);
    const auto fixed = [sep](Extended value) { return FormatStoredValue(value, sep); };
    std::string text;
    const auto put = [&text](const std::string& line) { text += OneLine(line) + "\r\n"; };

    put("[Main]");
    put("Version=2.5");
    put("Identification=" + model.identification);
    put("Steps=" + FormatInteger(model.lastStep()));
    put("");

    put("[Equations]");
    for (const std::string& line : model.equations)
        put(line);
    put("");

    put("[Variables]");
    const TInputTable& inputs = model.inputs();
    for (int row = 1; row <= TInputTable::RowCount; ++row) {
        const std::string& name = inputs.cell(row, InputColumn::Variable);
        const std::string& type = inputs.cell(row, InputColumn::Type);
        const std::string& parameters = inputs.cell(row, InputColumn::Parameters);
        const std::string& comment = inputs.cell(row, InputColumn::Comment);
        if (name.empty() && type.empty() && parameters.empty() && comment.empty()) continue;
        put(name + L + type + L + parameters + L + comment);
    }
    put("");
    text += CorrelationsSectionText(model);

    put("[Out.Equations]");
    for (const std::string& line : model.outEquationLines)
        put(line);
    put("");

    const TOutEvalSettings& eval = model.outEquations().evalSettings();
    put("[Out.Evaluation]");
    put(std::string("Evaluate=") + EvaluateWord(eval.Mode));
    put("Parameter=" + eval.ParName);
    put("Min=" + fixed(eval.ParMin));
    put("Max=" + fixed(eval.ParMax));
    put("Probability=" + fixed(eval.Target));
    put("MaxIteration=" + FormatInteger(eval.MaxIter));
    put("MaxDiff=" + fixed(eval.MaxDiff));
    // Only a project that uses the stop rule carries its keys, so other files stay as they were.
    const TOutEvalSettings defaults;
    if (eval.StopRule || eval.TargetCoV != defaults.TargetCoV ||
        eval.MinSteps != defaults.MinSteps) {
        put(std::string("StopRule=") + (eval.StopRule ? "Yes" : "No"));
        put("TargetCoV=" + fixed(eval.TargetCoV));
        put("MinSteps=" + FormatInteger(eval.MinSteps));
    }
    // Likewise the method keys: only where another method or its settings were chosen.
    if (const TReliabilitySettings& r = eval.Reliability; r != TReliabilitySettings{}) {
        put(std::string("Method=") + MethodWord(r.Method));
        put("FormIterations=" + FormatInteger(r.FormMaxIter));
        put("FormStarts=" + FormatInteger(r.FormStarts));
        put("ISSamples=" + FormatInteger(r.IsSamples));
        put("SubsetSamples=" + FormatInteger(r.SubsetSamples));
        put("SubsetLevels=" + FormatInteger(r.SubsetMaxLevels));
    }
    put("");

    put("[Out.Variables]");
    const TOutputTable& outputs = model.outputs();
    for (int row = 1; row <= OutputRows; ++row) {
        if (outputs.cell(row, colVariable).empty()) continue;
        std::string line = outputs.cell(row, colVariable);
        for (int column = colActivity; column <= colComment; ++column)
            line += L + outputs.cell(row, column);
        put(line);
    }
    put("");

    return text + ResultWindowSectionsText(model) + SensitivitySectionsText(model.resultWindows);
}

bool WriteProject(ProjectDocument& model, const std::string& path, LayoutKeeper* layout) {
    const TSettings& settings = model.settings();
    if (const std::string problem = SeparatorProblem(settings.ListSep, settings.DecimalSep);
        !problem.empty()) {
        model.prompter().error(problem + " The project is not saved.");
        return false;
    }
    const std::string error = WriteFileAtomically(path, ProjectText(model));
    if (!error.empty()) {
        model.prompter().error(error);
        return false;
    }
    if (const std::vector<std::string> unkept = UnkeptTexts(model); !unkept.empty()) {
        std::string text;
        for (const std::string& message : unkept)
            text += (text.empty() ? "" : "\n") + message;
        model.prompter().warning(text);
    }
    if (layout != nullptr && model.settings().SaveWinPos) {
        const std::string layoutError =
            WriteLayoutFile(LayoutFileName(path), layout->collectLayout());
        if (!layoutError.empty()) model.prompter().error(layoutError);
    }
    return true;
}

} // namespace probex
