// The beam run with fy and W correlated against the same run without correlations, side by
// side: what the copula (the Cholesky product, the normal distribution function and one
// inverse distribution function per correlated input) adds to a step.

#include "BenchModels.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>

namespace probex {
namespace {

using namespace bench;

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_BeamCorrelated(benchmark::State& state) {
    EngineRun plain(Beam), correlated(Beam);
    correlated.model.correlations.set("fy", "W", 0.5L);
    double bestPlain = 1e300, bestCorrelated = 1e300;
    Extended pPlain = 0, pCorrelated = 0;
    for (auto _ : state) {
        // In turn, so that whatever else the machine does weighs on both alike.
        double start = CpuSeconds();
        pPlain = plain.run();
        bestPlain = std::min(bestPlain, CpuSeconds() - start);
        start = CpuSeconds();
        pCorrelated = correlated.run();
        bestCorrelated = std::min(bestCorrelated, CpuSeconds() - start);
    }
    state.counters["uncorrelated ms"] = bestPlain * 1e3;
    state.counters["correlated ms"] = bestCorrelated * 1e3;
    state.counters["correlated/uncorrelated"] = bestCorrelated / bestPlain;
    // fy and W both raise the resistance: a positive correlation widens it and so raises the
    // probability of failure.
    state.counters["P uncorrelated"] = static_cast<double>(pPlain);
    state.counters["P correlated"] = static_cast<double>(pCorrelated);
}

BENCHMARK(BM_BeamCorrelated)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(5);

} // namespace
} // namespace probex
