#include "python/InputAccess.h"

#include "engine/Expression.h"
#include "model/ProjectModel.h"
#include "variables/Distributions.h"

#include <stdexcept>

namespace probex {

namespace {

const char* ParameterName(InputParameter parameter) {
    switch (parameter) {
    case InputParameter::Value:
        return "value";
    case InputParameter::Min:
        return "min";
    case InputParameter::Max:
        return "max";
    case InputParameter::Mean:
        return "mean";
    case InputParameter::StDev:
        return "stdev";
    case InputParameter::Mode:
        return "mode";
    }
    return "";
}

/// Whether the kind's parameters cell holds the parameter, as the reader accepts it.
bool Entered(DistKind kind, InputParameter parameter) {
    const bool mode = kind == DistKind::dkTriangular || kind == DistKind::dkPert;
    const bool parametric = kind >= DistKind::dkExponential;
    switch (parameter) {
    case InputParameter::Value:
        return kind == DistKind::dkConstant;
    case InputParameter::Min:
    case InputParameter::Max:
        return parametric;
    case InputParameter::Mean:
    case InputParameter::StDev:
        return parametric && !mode && kind != DistKind::dkUniform;
    case InputParameter::Mode:
        return mode;
    }
    return false;
}

Extended& Field(TIis& iis, InputParameter parameter) {
    switch (parameter) {
    case InputParameter::Value:
        return iis.Loc;
    case InputParameter::Min:
        return iis.Min;
    case InputParameter::Max:
        return iis.Max;
    case InputParameter::Mean:
        return iis.Mean;
    case InputParameter::StDev:
        return iis.StDev;
    case InputParameter::Mode:
        break;
    }
    return iis.Mode;
}

} // namespace

int InputRowOf(ProjectModel& model, std::string_view name) {
    return name.empty() ? 0 : model.inputs().FindVarRow(name);
}

std::string InputKind(ProjectModel& model, int row) {
    if (model.inputs().kind(row) == DistKind::dkUndefined) return {};
    return model.inputs().cell(row, InputColumn::Type);
}

void SetInputKind(ProjectModel& model, int row, std::string_view word) {
    for (const char* item : TInputTable::typeItems()) {
        // A histogram comes from its distribution file, which the project names.
        if (std::string_view(item) == "Saved Distribution" || !SameName(item, word)) continue;
        model.inputs().commitCell(row, InputColumn::Type, item);
        return;
    }
    throw std::invalid_argument("unknown kind '" + std::string(word) +
                                "': Constant, Exponential, Lognormal, Normal, Uniform, Gumbel, "
                                "GumbelMin, Weibull, Gamma, Beta, Triangular, PERT or Step number");
}

Extended InputParameterValue(ProjectModel& model, int row, InputParameter parameter) {
    return Field(model.inputs().record(row), parameter);
}

std::string SetInputParameter(ProjectModel& model, int row, InputParameter parameter,
                              Extended value) {
    TInputTable& inputs = model.inputs();
    TIis& iis = inputs.record(row);
    if (!Entered(iis.Kind, parameter))
        throw std::invalid_argument(inputs.cell(row, InputColumn::Variable) + " (" +
                                    InputKind(model, row) + ") has no parameter " +
                                    ParameterName(parameter));
    TIis edited = iis;
    Field(edited, parameter) = value;
    if (parameter == InputParameter::Value) edited.ConstCaption.clear();
    if (const std::string failure = CheckParameters(edited); !failure.empty())
        throw std::invalid_argument(failure);
    model.InvalidateResults();
    iis = std::move(edited);
    inputs.FillParametersCell(row);
    return CheckWarnings(iis);
}

} // namespace probex
