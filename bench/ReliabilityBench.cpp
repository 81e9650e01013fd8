// The methods other than Monte Carlo at Pf = Φ(−5) ≈ 2.9e-7 (ten standard normal inputs,
// G = 5·√10 − Σx): time, model evaluations and the CoV each reaches, one evaluation per
// iteration with a new seed.
//
//   build/bench/probex_bench --benchmark_filter=BM_Reliability --benchmark_counters_tabular=true

#include "BenchModels.h"

#include "engine/EquationSet.h"
#include "reliability/LimitState.h"
#include "reliability/ReliabilityEvaluation.h"
#include "reliability/StandardNormal.h"
#include "settings/Settings.h"
#include "variables/Distributions.h"
#include "variables/InputTable.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace probex {
namespace {

struct TenInputs {
    TSettings settings;
    bench::SilentPrompter prompter;
    TInputTable inputs{settings, prompter, [] {}};
    std::unique_ptr<tDecodedEquations> main = std::make_unique<tDecodedEquations>();
    std::unique_ptr<tDecodedEquations> out = std::make_unique<tDecodedEquations>();
    TLimitState limitState{*main, *out};

    explicit TenInputs(ReliabilityMethod method) {
        TEquError error;
        std::uint8_t relation = 0;
        auto recs = std::make_unique<tEquRecs>();
        ParseEquationLines({"G = 5*10^0.5 - (x1+x2+x3+x4+x5+x6+x7+x8+x9+x10)"}, false, *recs, error,
                           relation);
        CompileEquations(*recs, *main, error);
        ParseEquationLines({"0 > G2", "G2 = G"}, true, *recs, error, relation);
        CompileEquations(*recs, *out, error);
        for (int v = 1; v <= main->Vars.Count; ++v) {
            if (main->Vars.Roles[v] != tVars::Input) continue;
            inputs.AddInputVariable(main->Vars.Names[v]);
            const int row = inputs.FindVarRow(main->Vars.Names[v]);
            TIis& iis = inputs.record(row);
            iis.Kind = DistKind::dkNormal;
            iis.Min = -1000;
            iis.Max = 1000;
            iis.Mean = 0;
            iis.StDev = 1;
            CheckParameters(iis);
            main->RandomList.add(v, row);
        }
        std::string warning;
        limitState.bind(inputs, relation, method, "", warning);
    }
};

void Run(benchmark::State& state, ReliabilityMethod method, TReliabilitySettings settings,
         TCoVStopRule rule) {
    TenInputs model(method);
    settings.Method = method;
    std::uint64_t seed = 1;
    Extended evaluations = 0, cov = 0, covered = 0, runs = 0;
    for (auto _ : state) {
        TNormalStream random(seed++);
        TReliabilityContext context{model.limitState, settings, random, rule, {}};
        TReliabilityResult result;
        EvaluateReliability(context, result);
        evaluations += static_cast<Extended>(result.Evaluations);
        cov += result.Estimate.CoV;
        covered += result.Estimate.Lower <= 2.866515718791939e-7L &&
                   2.866515718791939e-7L <= result.Estimate.Upper;
        runs += 1;
    }
    state.counters["evaluations"] = static_cast<double>(evaluations / runs);
    state.counters["CoV %"] = static_cast<double>(100 * cov / runs);
    state.counters["covered %"] = static_cast<double>(100 * covered / runs);
}

void BM_ReliabilitySubset(benchmark::State& state) {
    TReliabilitySettings settings;
    settings.SubsetSamples = static_cast<std::int32_t>(state.range(0));
    Run(state, ReliabilityMethod::SubsetSimulation, settings, {});
}
BENCHMARK(BM_ReliabilitySubset)->Arg(2000)->Arg(15000)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_ReliabilityImportance(benchmark::State& state) {
    TReliabilitySettings settings;
    settings.IsSamples = 100000;
    Run(state, ReliabilityMethod::ImportanceSampling, settings, {true, 5, 100});
}
BENCHMARK(BM_ReliabilityImportance)->Unit(benchmark::kMillisecond);

void BM_ReliabilitySorm(benchmark::State& state) {
    Run(state, ReliabilityMethod::Sorm, {}, {});
}
BENCHMARK(BM_ReliabilitySorm)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace probex
