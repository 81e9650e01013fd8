#include "reliability/LimitState.h"

#include "engine/EquationSet.h"
#include "variables/DistributionFunctions.h"
#include "variables/InputTable.h"

namespace probex {

namespace {

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

TLimitState::TLimitState(tDecodedEquations& mainSet, tDecodedEquations& outSet)
    : m_main(mainSet), m_out(outSet) {}

std::string TLimitState::bind(const TInputTable& inputs, std::uint8_t relation,
                              ReliabilityMethod method, const std::string& parameterName,
                              std::string& warning) {
    const std::string caption = MethodCaption(method);
    m_mapping = {};
    m_links.clear();
    m_parameterVars.clear();
    warning.clear();
    m_relation = relation;
    // The relation reads "0 <relation> v": "0 > v" holds where v < 0, so g = v; "0 < v"
    // holds where v > 0, so g = -v.
    switch (relation) {
    case relGreater:
    case relGreaterEqual:
        m_sign = 1;
        break;
    case relLess:
    case relLessEqual:
        m_sign = -1;
        break;
    default:
        return caption +
               " needs a condition that says on which side of 0 failure lies (0 < v, 0 > v, "
               "0 <= v or 0 >= v); \"=\" and \"<>\" have no side!";
    }

    // Constants stay fixed at their values.
    for (std::int32_t k = 1; k <= m_main.ConstList.Count; ++k)
        m_main.Vars.Values[static_cast<std::size_t>(
            m_main.ConstList.VarIndex[static_cast<std::size_t>(k)])] =
            inputs.record(m_main.ConstList.Ref[static_cast<std::size_t>(k)]).Loc;
    std::string histograms;
    for (std::int32_t k = 1; k <= m_main.RandomList.Count; ++k) {
        const std::int32_t v = m_main.RandomList.VarIndex[static_cast<std::size_t>(k)];
        const TIis& iis = inputs.record(m_main.RandomList.Ref[static_cast<std::size_t>(k)]);
        const std::string& name = m_main.Vars.Names[static_cast<std::size_t>(v)];
        if (!HasDistributionFunction(iis.Kind))
            return "Input variable " + name + " is a step number: it cannot take part in " +
                   caption + "!";
        if (iis.Kind == DistKind::dkDiscrete || iis.Kind == DistKind::dkContinuous)
            histograms += (histograms.empty() ? "" : ", ") + name;
        m_mapping.add({name, v, &iis});
    }
    if (!histograms.empty() &&
        (method == ReliabilityMethod::Form || method == ReliabilityMethod::Sorm))
        warning = caption + " assumes a smooth limit state; the histogram input " + histograms +
                  " has a distribution function with kinks or steps, so the result is an "
                  "approximation.";
    m_mapping.prepare();
    m_x.assign(static_cast<std::size_t>(m_mapping.dimension()), 0);

    // The last variable is the condition's "0".
    for (std::int32_t v = 1; v < m_out.Vars.Count; ++v) {
        const std::string& name = m_out.Vars.Names[static_cast<std::size_t>(v)];
        const int mainVar = FindVar(name, m_main.Vars);
        if (m_out.Vars.Roles[static_cast<std::size_t>(v)] == tVars::Computed) {
            if (mainVar != 0) return "Variable " + name + " already in use!";
            continue;
        }
        if (mainVar != 0 &&
            m_main.Vars.Roles[static_cast<std::size_t>(mainVar)] == tVars::Computed) {
            m_links.push_back({v, mainVar});
            continue;
        }
        if (!parameterName.empty() && SameName(name, Trimmed(parameterName))) {
            m_parameterVars.push_back(v);
            continue;
        }
        return "Unknown variable " + name + "!";
    }
    return {};
}

void TLimitState::correlate(const std::vector<int>& positions, const TSquareMatrix& lower) {
    // bind maps every entry of the random list, in its order.
    std::vector<int> members;
    for (const int position : positions)
        members.push_back(position - 1);
    m_mapping.correlate(std::move(members), lower);
}

void TLimitState::setParameter(Extended value) {
    for (const std::int32_t v : m_parameterVars)
        m_out.Vars.Values[static_cast<std::size_t>(v)] = value;
}

std::uint8_t TLimitState::evaluate(const Extended* u, Value& value) {
    if (stopRequested()) return Stopped;
    ++m_evaluations;
    m_mapping.toInputs(u, m_x.data());
    const std::vector<TMappedInput>& in = m_mapping.inputs();
    for (std::size_t i = 0; i < in.size(); ++i)
        m_main.Vars.Values[static_cast<std::size_t>(in[i].varIndex)] = m_x[i];
    TEquError error;
    if (const std::uint8_t code = EvaluateEquations(m_main, error); code != 0) return code;
    for (const Link& link : m_links)
        m_out.Vars.Values[static_cast<std::size_t>(link.outVar)] =
            m_main.Vars.Values[static_cast<std::size_t>(link.mainVar)];
    if (const std::uint8_t code = EvaluateEquations(m_out, error); code != 0) return code;
    const Extended v = m_out.Vars.Values[static_cast<std::size_t>(m_out.ResultVar[1])];
    value.g = m_sign * v;
    value.fails = value.g < 0 ||
                  (value.g == 0 && (m_relation == relGreaterEqual || m_relation == relLessEqual));
    return 0;
}

std::vector<Extended> TLimitState::inputsAt(const std::vector<Extended>& u) const {
    std::vector<Extended> x(u.size());
    m_mapping.toInputs(u.data(), x.data());
    return x;
}

} // namespace probex
