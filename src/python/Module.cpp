// The Python module "probex": projects, runs and their results, and single expressions.
#include "python/Bindings.h"

#include "engine/Expression.h"

#include <memory>

namespace probex {

namespace {

/// As --eval: the expression with every name given a value.
double Evaluate(const std::string& expression, const py::kwargs& values) {
    auto compiled = std::make_unique<tCompiledEquation>();
    auto vars = std::make_unique<tVars>();
    TEquError error;
    CompileExpression(expression, *compiled, *vars, error);
    if (error.Code != ecNone) throw EquationFault({{error.Code, error.Pos, 0}, false}, false);
    std::vector<bool> assigned(static_cast<std::size_t>(vars->Count) + 1, false);
    for (const auto& [key, value] : values) {
        const std::string name = py::str(key);
        const int index = FindVar(name, *vars);
        if (index == 0) throw std::invalid_argument("Unknown variable: " + name);
        vars->Values[index] = value.cast<double>();
        assigned[index] = true;
    }
    for (int i = 1; i <= vars->Count; ++i)
        if (!assigned[i])
            throw std::invalid_argument("Variable without a value: " + vars->Names[i]);
    const tEvalResult result = EvaluateExpression(*compiled, *vars);
    if (result.Code != ecNone) throw ProgramError(ErrorText(result.Code));
    return static_cast<double>(result.Value);
}

} // namespace

} // namespace probex

PYBIND11_MODULE(probex, module) {
    using namespace probex;
    module.doc() = "Monte Carlo simulation of engineering models: Probex projects from Python.";
    module.attr("__version__") = PROBEX_VERSION;
    BindErrors(module);
    BindProject(module);
    BindResults(module);
    module.def("evaluate", &Evaluate, py::arg("expression"),
               "Evaluates one expression with the values given by name, as --eval does");
}
