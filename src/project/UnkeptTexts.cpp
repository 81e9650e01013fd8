#include "project/UnkeptTexts.h"

#include "project/ProjectDocument.h"
#include "project/ProjectLines.h"
#include "settings/Settings.h"
#include "simulation/OutEquations.h"
#include "simulation/OutputTable.h"
#include "variables/InputTable.h"

namespace probex {

namespace {

/// Collects a message for every text that would read back otherwise.
class TextCheck {
public:
    explicit TextCheck(char listSeparator) : m_listSeparator(1, listSeparator) {}

    /// A text that runs to the end of its line: only line breaks are lost.
    void freeText(const std::string& what, const std::string& text) {
        report(what, text, OneLine(text));
    }
    /// A field that ends at the next list separator, or also at "=" in a key-value line.
    void field(const std::string& what, const std::string& text, bool keyValue = false) {
        const std::string line = OneLine(text);
        report(what, text,
               line.substr(0, line.find_first_of(m_listSeparator + (keyValue ? "=" : ""))));
    }
    void equation(const char* what, const std::string& line) {
        if (TrimBlanks(line).starts_with('['))
            messages.push_back(std::string(what) + " \"" + line +
                               "\" begins with \"[\" and would read back as a section header.");
    }

    std::vector<std::string> messages;

private:
    void report(const std::string& what, const std::string& text, const std::string& readBack) {
        if (readBack != text)
            messages.push_back(what + " \"" + text +
                               "\" cannot be kept whole in the project file: it will read back "
                               "as \"" +
                               TrimBlanks(readBack) + "\".");
    }

    std::string m_listSeparator;
};

} // namespace

std::vector<std::string> UnkeptTexts(ProjectDocument& model) {
    TextCheck check(model.settings().ListSep);
    check.freeText("The identification", model.identification);
    for (const std::string& line : model.equations)
        check.equation("The equation line", line);
    for (const std::string& line : model.outEquationLines)
        check.equation("The out-equation line", line);

    const TInputTable& inputs = model.inputs();
    for (int row = 1; row <= TInputTable::RowCount; ++row) {
        const std::string& name = inputs.cell(row, InputColumn::Variable);
        check.field("The input variable name", name);
        check.field("The type of input variable " + name, inputs.cell(row, InputColumn::Type));
        check.field("The parameters of input variable " + name,
                    inputs.cell(row, InputColumn::Parameters));
        check.freeText("The comment of input variable " + name,
                       inputs.cell(row, InputColumn::Comment));
    }
    check.field("The parameter name", model.outEquations().evalSettings().ParName, true);
    const TOutputTable& outputs = model.outputs();
    for (int row = 1; row <= OutputRows; ++row) {
        const std::string& name = outputs.cell(row, colVariable);
        check.field("The output variable name", name);
        check.freeText("The comment of output variable " + name, outputs.cell(row, colComment));
    }

    const TResultWindows& windows = model.resultWindows;
    const auto window = [&check](const std::string& kind, const std::string& variable,
                                 const std::string& identification) {
        check.field("The variable of a " + kind + " window", variable, true);
        check.freeText("The identification of the " + kind + " window of " + variable,
                       identification);
    };
    for (const TStatWindowDesc& w : windows.statistics)
        window("statistics", w.variable, w.identification);
    for (const T1DWindowDesc& w : windows.oneD)
        window("1D", w.variable, w.identification);
    for (const T2DWindowDesc& w : windows.twoD) {
        window("2D", w.variableH, w.identification);
        check.field("The variable of a 2D window", w.variableV, true);
    }
    for (const TPQWindowDesc& w : windows.probabilities)
        window("probability", w.variable, w.identification);
    for (const TPQWindowDesc& w : windows.quantiles)
        window("quantile", w.variable, w.identification);
    return check.messages;
}

} // namespace probex
