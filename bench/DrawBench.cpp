// Draws per second of each input kind, side by side ("draw/<kind>"): the rejection-sampled
// kinds against the ones drawn by inverting their truncated distribution function.

#include "variables/Distributions.h"
#include "variables/Random.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace probex {
namespace {

struct Kind {
    const char* name;
    DistKind kind;
    Extended min, max, mean, stDev, mode;
};

constexpr Kind kinds[] = {
    {"Normal", DistKind::dkNormal, -1000, 1000, 100, 20, 0},
    {"Lognormal", DistKind::dkLognormal, 0, 1000, 100, 20, 0},
    {"Gumbel", DistKind::dkGumbel, -1000, 1000, 100, 20, 0},
    {"GumbelMin", DistKind::dkGumbelMin, -1000, 1000, 100, 20, 0},
    {"Weibull", DistKind::dkWeibull, 0, 1000, 100, 20, 0},
    {"Gamma", DistKind::dkGamma, 0, 1000, 100, 20, 0},
    {"Beta", DistKind::dkBeta, 0, 1, 0.3L, 0.1L, 0},
    {"Triangular", DistKind::dkTriangular, 0, 3, 0, 0, 1},
    {"PERT", DistKind::dkPert, 0, 6, 0, 0, 1},
    // Far in the upper tail: about 1e-9 of the law lies between Min and Max.
    {"GumbelTail", DistKind::dkGumbel, 400, 500, 100, 20, 0},
};

void Draw(benchmark::State& state, const Kind& k) {
    TIis iis;
    iis.Kind = k.kind;
    iis.Min = k.min;
    iis.Max = k.max;
    iis.Mean = k.mean;
    iis.StDev = k.stDev;
    iis.Mode = k.mode;
    if (!CheckParameters(iis).empty()) {
        std::fprintf(stderr, "bench parameters of %s fail their check\n", k.name);
        std::abort();
    }
    TRandom random(12345);
    std::int64_t step = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(SampleValue(iis, random, ++step));
    state.SetItemsProcessed(state.iterations());
}

[[maybe_unused]] const bool registered = [] {
    for (const Kind& k : kinds)
        benchmark::RegisterBenchmark((std::string("draw/") + k.name).c_str(), Draw, k);
    return true;
}();

} // namespace
} // namespace probex
