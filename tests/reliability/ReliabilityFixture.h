#pragma once

#include "engine/EquationSet.h"
#include "reliability/LimitState.h"
#include "reliability/ReliabilityEvaluation.h"
#include "reliability/StandardNormal.h"
#include "settings/Settings.h"
#include "support/ScriptedPrompter.h"
#include "variables/Distributions.h"
#include "variables/InputTable.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace probex::test {

/// A model compiled from equation lines and out-equation lines, each input normal
/// (mean, standard deviation) between -1000 and 1000 unless given a record of its own.
struct ReliabilityModel {
    TSettings settings;
    ScriptedPrompter prompter;
    TInputTable inputs{settings, prompter, [] {}};
    std::unique_ptr<tDecodedEquations> main = std::make_unique<tDecodedEquations>();
    std::unique_ptr<tDecodedEquations> out = std::make_unique<tDecodedEquations>();
    std::uint8_t relation = 0;
    TLimitState limitState{*main, *out};
    TReliabilitySettings method;
    std::string warning;

    ReliabilityModel(const std::vector<std::string>& equations,
                     const std::vector<std::string>& outEquations,
                     const std::map<std::string, TIis>& records = {}) {
        TEquError error;
        auto recs = std::make_unique<tEquRecs>();
        ParseEquationLines(equations, false, *recs, error, relation);
        CompileEquations(*recs, *main, error);
        EXPECT_EQ(error.Code, 0);
        ParseEquationLines(outEquations, true, *recs, error, relation);
        CompileEquations(*recs, *out, error);
        EXPECT_EQ(error.Code, 0);
        for (int v = 1; v <= main->Vars.Count; ++v) {
            if (main->Vars.Roles[v] != tVars::Input) continue;
            const std::string& name = main->Vars.Names[v];
            EXPECT_TRUE(inputs.AddInputVariable(name));
            const int row = inputs.FindVarRow(name);
            const auto given = records.find(name);
            inputs.record(row) = given != records.end() ? given->second : Normal(0, 1);
            (inputs.kind(row) == DistKind::dkConstant ? main->ConstList : main->RandomList)
                .add(v, row);
        }
    }

    static TIis Normal(Extended mean, Extended stDev) {
        TIis iis;
        iis.Kind = DistKind::dkNormal;
        iis.Min = -1000;
        iis.Max = 1000;
        iis.Mean = mean;
        iis.StDev = stDev;
        EXPECT_EQ(CheckParameters(iis), "");
        return iis;
    }

    /// The bind message (empty when fine).
    std::string bind(ReliabilityMethod m, const std::string& parameter = {}) {
        method.Method = m;
        return limitState.bind(inputs, relation, m, parameter, warning);
    }

    std::uint8_t evaluate(TReliabilityResult& result, std::uint64_t seed = 1,
                          TCoVStopRule rule = {},
                          std::vector<TProbabilityEstimate>* history = nullptr) {
        TNormalStream random(seed);
        TReliabilityContext context{limitState, method, random, rule, {}};
        if (history)
            context.progress = [history](const TProbabilityEstimate& e) { history->push_back(e); };
        return EvaluateReliability(context, result);
    }
};

/// R − S with R ~ N(4, 1), S ~ N(2, 1): β = √2.
inline std::unique_ptr<ReliabilityModel> ResistanceLoad() {
    return std::make_unique<ReliabilityModel>(
        std::vector<std::string>{"Z = R - S"}, std::vector<std::string>{"0 > Z"},
        std::map<std::string, TIis>{{"R", ReliabilityModel::Normal(4, 1)},
                                    {"S", ReliabilityModel::Normal(2, 1)}});
}

/// Ten standard normal inputs and G = 5·√10 − Σx: β = 5, Pf = Φ(−5).
inline std::unique_ptr<ReliabilityModel> TenInputs() {
    return std::make_unique<ReliabilityModel>(
        std::vector<std::string>{"G = 5*10^0.5 - (x1+x2+x3+x4+x5+x6+x7+x8+x9+x10)"},
        std::vector<std::string>{"0 > H", "H = G"});
}

} // namespace probex::test
