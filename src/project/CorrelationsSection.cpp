#include "project/CorrelationsSection.h"

#include "components/Prompter.h"
#include "engine/Expression.h"
#include "project/ProjectDocument.h"
#include "project/ProjectLines.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"
#include "variables/InputTable.h"

#include <algorithm>

namespace probex {

void ReadCorrelationLine(ProjectDocument& model, const std::string& line,
                         std::vector<TCorrelation>& read) {
    const TSettings& settings = model.settings();
    Prompter& prompter = model.prompter();
    const TInputTable& inputs = model.inputs();
    const std::string sep(1, settings.ListSep);
    std::string names[2];
    for (int k = 0; k < 2; ++k) {
        const std::string name = TrimBlanks(ExtractField(line, sep, k + 1));
        const int row = name.empty() ? 0 : inputs.FindVarRow(name);
        if (row == 0) {
            prompter.error("Unknown variable " + name + " in correlations!");
            return;
        }
        names[k] = inputs.cell(row, InputColumn::Variable); // the table's spelling
    }
    if (SameName(names[0], names[1])) {
        prompter.error("Variable " + names[0] + " correlated with itself!");
        return;
    }
    const std::string text = TrimBlanks(ExtractField(line, sep, 3));
    Extended value = 0;
    if (!TryStrToExtended(text, settings.DecimalSep, value)) {
        prompter.error("Invalid value: " + text);
        return;
    }
    if (!TCorrelations::InRange(value)) {
        prompter.error("Correlation of " + names[0] + " and " + names[1] +
                       " out of range (-1, 1): " + text);
        return;
    }
    if (std::any_of(read.begin(), read.end(), [&names](const TCorrelation& pair) {
            return pair.joins(names[0], names[1]);
        })) {
        prompter.error("Correlation of " + names[0] + " and " + names[1] + " given twice!");
        return;
    }
    read.push_back({names[0], names[1], value});
    model.correlations.set(names[0], names[1], value);
    model.InvalidateResults();
}

std::string CorrelationsSectionText(ProjectDocument& model) {
    const TSettings& settings = model.settings();
    const TInputTable& inputs = model.inputs();
    const std::string sep(1, settings.ListSep);
    std::string lines;
    for (const TCorrelation& pair : model.correlations.pairs()) {
        // A pair whose variable left the table went with it.
        if (inputs.FindVarRow(pair.name1) == 0 || inputs.FindVarRow(pair.name2) == 0) continue;
        lines += pair.name1 + sep + pair.name2 + sep +
                 FormatShortest(pair.value, settings.DecimalSep) + "\r\n";
    }
    return lines.empty() ? lines : "[Correlations]\r\n" + lines + "\r\n";
}

} // namespace probex
