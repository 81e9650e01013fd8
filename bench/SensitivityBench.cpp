// The sensitivity of one output to 10 sampled inputs over 10^6 steps, as a sensitivity window
// computes it at the end of a run: ranks, rank correlations and first-order indices with
// their intervals. Sorting each input's steps is the cost; the plain std::sort of the same
// values beside it shows what the analysis adds to sorting alone.

#include "sensitivity/RankSensitivity.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace probex {
namespace {

constexpr std::size_t Steps = 1000000;
constexpr int Inputs = 10;

struct Sample {
    std::vector<std::vector<double>> columns;
    std::vector<TSampledInput> inputs;
    std::vector<double> output;

    Sample() : columns(Inputs, std::vector<double>(Steps)), output(Steps) {
        std::mt19937_64 engine(1);
        std::normal_distribution<double> normal;
        for (std::size_t i = 0; i < Steps; ++i) {
            double y = 0;
            for (int k = 0; k < Inputs; ++k) {
                columns[k][i] = normal(engine);
                y += (k + 1) * columns[k][i] + 0.1 * std::sin(columns[k][i]);
            }
            output[i] = y;
        }
        for (int k = 0; k < Inputs; ++k)
            inputs.push_back({"X" + std::to_string(k), columns[k]});
    }
};

const Sample& Shared() {
    static const Sample sample;
    return sample;
}

void BM_Sensitivity(benchmark::State& state) {
    const Sample& s = Shared();
    for (auto _ : state) {
        TSensitivity result = AnalyseSensitivity("Y", s.inputs, s.output);
        benchmark::DoNotOptimize(result);
    }
    state.counters["steps"] = Steps;
    state.counters["inputs"] = Inputs;
}
// Process CPU time: the inputs are analysed on every core.
BENCHMARK(BM_Sensitivity)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_SortOnly(benchmark::State& state) {
    const Sample& s = Shared();
    for (auto _ : state) {
        for (int k = 0; k <= Inputs; ++k) { // the output's ranks and every input's order
            std::vector<double> copy = k < Inputs ? s.columns[k] : s.output;
            std::sort(copy.begin(), copy.end());
            benchmark::DoNotOptimize(copy.data());
        }
    }
}
BENCHMARK(BM_SortOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

/// One column's ranks: what the analysis pays per input for its sorting.
void BM_RanksOfOneColumn(benchmark::State& state) {
    const Sample& s = Shared();
    for (auto _ : state) {
        std::vector<double> ranks = MidRanks(s.columns[0]);
        benchmark::DoNotOptimize(ranks.data());
    }
}
BENCHMARK(BM_RanksOfOneColumn)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace probex
