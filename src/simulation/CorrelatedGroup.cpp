#include "simulation/CorrelatedGroup.h"

#include "engine/EquationSet.h"
#include "engine/Expression.h"
#include "settings/NumberText.h"
#include "variables/Correlations.h"
#include "variables/DistributionFunctions.h"
#include "variables/InputTable.h"

#include <algorithm>

namespace probex {

namespace {

bool Named(const TCorrelations& correlations, const std::string& name) {
    return std::any_of(correlations.pairs().begin(), correlations.pairs().end(),
                       [&name](const TCorrelation& pair) {
                           return SameName(pair.name1, name) || SameName(pair.name2, name);
                       });
}

std::string CannotTakePart(const TInputTable& inputs, int row) {
    return "Input variable " + inputs.cell(row, InputColumn::Variable) + " (" +
           inputs.cell(row, InputColumn::Type) +
           ") cannot be correlated: only an input drawn from a distribution can.";
}

} // namespace

std::string GroupCorrelatedInputs(const TCorrelations& correlations, const tDecodedEquations& set,
                                  const TInputTable& inputs, TCorrelatedGroup& group) {
    group = TCorrelatedGroup();
    if (correlations.empty()) return {};
    for (int i = 1; i <= set.ConstList.Count; ++i)
        if (Named(correlations, set.Vars.Names[set.ConstList.VarIndex[i]]))
            return CannotTakePart(inputs, set.ConstList.Ref[i]);
    for (int i = 1; i <= set.RandomList.Count; ++i) {
        const std::string& name = set.Vars.Names[set.RandomList.VarIndex[i]];
        if (!Named(correlations, name)) continue;
        const int row = set.RandomList.Ref[i];
        if (!HasDistributionFunction(inputs.kind(row))) return CannotTakePart(inputs, row);
        group.positions.push_back(i);
        group.names.push_back(inputs.cell(row, InputColumn::Variable));
    }
    const int n = static_cast<int>(group.names.size());
    group.normal = TSquareMatrix::Identity(n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < i; ++j)
            group.normal(i, j) = group.normal(j, i) = NormalSpaceCorrelation(
                correlations.value(group.names[static_cast<std::size_t>(i)],
                                   group.names[static_cast<std::size_t>(j)]));
    return {};
}

std::string NearestMatrixQuestion(const TCorrelatedGroup& group, const TSquareMatrix& nearest,
                                  char decimalSeparator) {
    const auto format = [decimalSeparator](Extended value) {
        std::string text = FormatGeneral(value, decimalSeparator, 6);
        text.erase(text.find_last_not_of(' ') + 1);
        return text;
    };
    std::string text = "The correlations of the inputs are not consistent: their correlation "
                       "matrix is not positive definite.\nUse the nearest valid correlation "
                       "matrix? Its rank correlations (entered -> used):";
    const int n = group.normal.n;
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j) {
            const Extended entered = RankCorrelationOf(group.normal(i, j));
            const Extended used = RankCorrelationOf(nearest(i, j));
            text += "\n" + group.names[static_cast<std::size_t>(i)] + ", " +
                    group.names[static_cast<std::size_t>(j)] + ": " + format(entered) + " -> " +
                    format(used);
        }
    return text;
}

} // namespace probex
