// Whole runs of two reference models, 10^6 steps each: through the batch command (reading the
// example project, running, printing), through the run worker step by step and several steps
// at a time, and as hand-written loops that do the same sampling, range checks and
// accumulation with the same x87 functions, so the ratios show what the engine's generality
// costs. WindowRunBench.cpp adds the same runs started from the main window.

#include "BenchModels.h"
#include "WindowRun.h"

#include "app/BatchCommand.h"
#include "engine/Arithmetic.h"
#include "simulation/HisCompute.h"
#include "simulation/OutStat.h"
#include "variables/Distributions.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace probex {
namespace {

using namespace bench;

const ModelDescription Poly = {
    {"y = e19 - e15/e7 + SIN(a*c)",
     "e19 = LN e18*b",
     "e18 = (e17*e17 + 1)^1.5",
     "e17 = e16 - e1/e2",
     "e16 = SIN(e15*3)*e7",
     "e15 = LN e14",
     "e14 = e13^2 + a",
     "e13 = e12/e6",
     "e12 = e11 - e8*c",
     "e11 = e10^3",
     "e10 = SIN e9 + c",
     "e9 = LN(e8 + a)",
     "e8 = e7/(1 + b)",
     "e7 = e6^0.5",
     "e6 = e5*e5 + e2",
     "e5 = e4 - b/a",
     "e4 = SIN(e3*a)",
     "e3 = LN e2",
     "e2 = e1^2 + 1",
     "e1 = a*b + c"},
    {{"a", "Uniform", 1, 2, 0, 0}, {"b", "Uniform", 0, 1, 0, 0}, {"c", "Uniform", -1, 1, 0, 0}},
    {"y"},
    "0 > y",
};

/// The accumulators of one hand-written output, prepared as the run prepares them.
struct HandOutput {
    TOutStat stat;
    TOutHis his;
    TOutLog log;
    HandOutput() {
        StatReset(stat);
        if (!HisAllocate(his, 1024) || !log.allocate(Steps)) throw std::bad_alloc();
        HisReset(his);
    }
    void add(std::int32_t step, Extended v) {
        StatAdd(stat, v);
        HisAdd(his, v);
        log.store(step - 1, v);
    }
    void finish() {
        StatCompute(stat, 2);
        HisCompute(his, 3, true);
    }
};

/// Each operation checked as the language checks it.
struct Checked {
    bool ok = true;
    Extended bin(std::uint8_t code, Extended x, Extended y) {
        Extended r = 0;
        if (BinaryResult(code, x, y, r) != ecNone || !BinaryInRange(r)) ok = false;
        return r;
    }
    Extended fn(std::uint8_t code, Extended x) {
        Extended r = 0;
        if (FunctionResult(code, x, r) != ecNone || !FunctionInRange(r)) ok = false;
        return r;
    }
    Extended result(Extended r) {
        if (!FinalInRange(r)) ok = false;
        return r;
    }
};

TIis MakeInput(const InputDescription& in) {
    TIis iis;
    iis.Kind = std::string(in.type) == "Uniform"  ? DistKind::dkUniform
               : std::string(in.type) == "Normal" ? DistKind::dkNormal
                                                  : DistKind::dkLognormal;
    SetDefaultParameters(iis);
    iis.Min = in.min;
    iis.Max = in.max;
    iis.Mean = in.mean;
    iis.StDev = in.stdev;
    if (!CheckParameters(iis).empty()) throw std::runtime_error("bad parameters");
    return iis;
}

Extended HandBeam() {
    TRandom random;
    random.ApplySeed(false, 0, RunSeed);
    const TIis fyIn = MakeInput(Beam.inputs[0]), wIn = MakeInput(Beam.inputs[1]),
               fIn = MakeInput(Beam.inputs[2]), lIn = MakeInput(Beam.inputs[3]);
    auto outs = std::make_unique<HandOutput[]>(3); // Z, R, S
    Checked c;
    for (std::int32_t step = 1; step <= Steps && c.ok; ++step) {
        // Inputs are drawn in the order the compiled model lists them.
        const Extended F = SampleValue(fIn, random, step);
        const Extended L = SampleValue(lIn, random, step);
        const Extended fy = SampleValue(fyIn, random, step);
        const Extended W = SampleValue(wIn, random, step);
        const Extended S = c.result(c.bin(opDiv, c.bin(opMul, F, L), 1.5L));
        const Extended R = c.result(c.bin(opMul, c.bin(opMul, fy, 1000), W));
        const Extended Z = c.result(c.bin(opSub, R, S));
        outs[0].add(step, Z);
        outs[1].add(step, R);
        outs[2].add(step, S);
    }
    std::int32_t failures = 0;
    for (int k = 0; k < 3; ++k)
        outs[k].finish();
    for (std::int32_t s = 0; s < Steps; ++s)
        failures += 0 > outs[0].log[s];
    return static_cast<Extended>(failures) / Steps;
}

Extended HandPoly() {
    TRandom random;
    random.ApplySeed(false, 0, RunSeed);
    const TIis aIn = MakeInput(Poly.inputs[0]), bIn = MakeInput(Poly.inputs[1]),
               cIn = MakeInput(Poly.inputs[2]);
    HandOutput y;
    Checked k;
    for (std::int32_t step = 1; step <= Steps && k.ok; ++step) {
        const Extended a = SampleValue(aIn, random, step);
        const Extended b = SampleValue(bIn, random, step);
        const Extended c = SampleValue(cIn, random, step);
        const Extended e1 = k.result(k.bin(opAdd, k.bin(opMul, a, b), c));
        const Extended e2 = k.result(k.bin(opAdd, k.bin(opPow, e1, 2), 1));
        const Extended e3 = k.result(k.fn(fnLn, e2));
        const Extended e4 = k.result(k.fn(fnSin, k.bin(opMul, e3, a)));
        const Extended e5 = k.result(k.bin(opSub, e4, k.bin(opDiv, b, a)));
        const Extended e6 = k.result(k.bin(opAdd, k.bin(opMul, e5, e5), e2));
        const Extended e7 = k.result(k.bin(opPow, e6, 0.5L));
        const Extended e8 = k.result(k.bin(opDiv, e7, k.bin(opAdd, 1, b)));
        const Extended e9 = k.result(k.fn(fnLn, k.bin(opAdd, e8, a)));
        const Extended e10 = k.result(k.bin(opAdd, k.fn(fnSin, e9), c));
        const Extended e11 = k.result(k.bin(opPow, e10, 3));
        const Extended e12 = k.result(k.bin(opSub, e11, k.bin(opMul, e8, c)));
        const Extended e13 = k.result(k.bin(opDiv, e12, e6));
        const Extended e14 = k.result(k.bin(opAdd, k.bin(opPow, e13, 2), a));
        const Extended e15 = k.result(k.fn(fnLn, e14));
        const Extended e16 = k.result(k.bin(opMul, k.fn(fnSin, k.bin(opMul, e15, 3)), e7));
        const Extended e17 = k.result(k.bin(opSub, e16, k.bin(opDiv, e1, e2)));
        const Extended e18 = k.result(k.bin(opPow, k.bin(opAdd, k.bin(opMul, e17, e17), 1), 1.5L));
        const Extended e19 = k.result(k.bin(opMul, k.fn(fnLn, e18), b));
        const Extended v = k.result(k.bin(opAdd, k.bin(opSub, e19, k.bin(opDiv, e15, e7)),
                                          k.fn(fnSin, k.bin(opMul, a, c))));
        y.add(step, v);
    }
    y.finish();
    std::int32_t below = 0;
    for (std::int32_t s = 0; s < Steps; ++s)
        below += 0 > y.log[s];
    return static_cast<Extended>(below) / Steps;
}

/// The batch command on an example project, as `probex --batch` runs it; the probability.
Extended BatchRun(const char* project) {
    const std::string file = std::string(PROBEX_SOURCE_DIR) + "/examples/" + project;
    const std::string steps = std::to_string(Steps), seed = std::to_string(RunSeed);
    const char* argv[] = {file.c_str(), "--steps", steps.c_str(), "--seed", seed.c_str()};
    std::ostringstream out, err;
    if (RunBatchCommand(5, argv, out, err) != 0) throw std::runtime_error(err.str());
    const std::string text = out.str();
    const std::size_t line = text.find("Probability: ");
    if (line == std::string::npos) throw std::runtime_error("no probability: " + text);
    return std::strtold(text.c_str() + line + 13, nullptr);
}

double ProcessSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

/// Every way of running one model, taken in turn in each iteration, so that whatever else
/// the machine does weighs on all of them alike. Counters: the best process CPU time of each
/// in ms, and the speed of each against the hand-written loop (hand time / its time). Every
/// way must end with the hand loop's probability, or the figures compare different work.
void SideBySide(benchmark::State& state, const ModelDescription& description, Extended (*hand)(),
                const char* project) {
    EngineRun oneStep(description, false), interleaved(description, true);
    WindowRun window(project);
    struct Way {
        const char* name;
        std::function<Extended()> run;
        double best = 1e300;
    };
    std::vector<Way> ways = {
        {"hand", hand},
        {"batch", [project] { return BatchRun(project); }},
        {"one-step", [&oneStep] { return oneStep.run(); }},
        {"interleaved", [&interleaved] { return interleaved.run(); }},
        {"window", [&window] { return window.run(); }},
    };
    Extended probability = 0;
    for (auto _ : state) {
        for (Way& way : ways) {
            const double start = ProcessSeconds();
            const Extended p = way.run();
            way.best = std::min(way.best, ProcessSeconds() - start);
            if (&way == &ways.front())
                probability = p;
            else if (p != probability)
                state.SkipWithError(
                    (std::string(way.name) + " ends with another probability").c_str());
        }
    }
    for (const Way& way : ways) {
        state.counters[std::string(way.name) + " ms"] = way.best * 1e3;
        if (&way != &ways.front())
            state.counters[std::string(way.name) + " x"] = ways.front().best / way.best;
    }
    // The window's rate against the batch command's.
    state.counters["window/batch"] = ways[1].best / ways.back().best;
    char text[32];
    std::snprintf(text, sizeof text, "%.8Lf", probability);
    state.SetLabel(std::string("P=") + text);
}

void BM_Beam(benchmark::State& state) {
    SideBySide(state, Beam, HandBeam, "beam.pxw");
}

void BM_Poly(benchmark::State& state) {
    SideBySide(state, Poly, HandPoly, "poly.pxw");
}

BENCHMARK(BM_Beam)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(3);
BENCHMARK(BM_Poly)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(3);

/// ln through the library and through the inline x87 instructions, on uniform draws: the
/// time per logarithm, independent ones and chained ones.
void BM_Logarithm(benchmark::State& state) {
    constexpr int Count = 1 << 16;
    std::vector<Extended> xs(Count);
    std::uint32_t seed = 1;
    for (Extended& x : xs)
        x = ((seed = seed * 134775813u + 1u) + 1.0L) * 0x1p-32L;
    double library = 1e300, inlined = 1e300, libraryChain = 1e300, inlinedChain = 1e300;
    Extended sink = 0;
    auto time = [&](double& best, auto&& body) {
        const double start = ProcessSeconds();
        body();
        best = std::min(best, (ProcessSeconds() - start) / Count * 1e9);
    };
    for (auto _ : state) {
        time(library, [&] {
            for (Extended x : xs)
                sink += logl(x);
        });
        time(inlined, [&] {
            for (Extended x : xs)
                sink += LnX(x);
        });
        time(libraryChain, [&] {
            Extended y = 0.5L;
            for (Extended x : xs)
                y = logl(x + y * y);
            sink += y;
        });
        time(inlinedChain, [&] {
            Extended y = 0.5L;
            for (Extended x : xs)
                y = LnX(x + y * y);
            sink += y;
        });
    }
    benchmark::DoNotOptimize(sink);
    state.counters["logl ns"] = library;
    state.counters["x87 ns"] = inlined;
    state.counters["logl chained ns"] = libraryChain;
    state.counters["x87 chained ns"] = inlinedChain;
}

BENCHMARK(BM_Logarithm)->Iterations(20);

} // namespace
} // namespace probex
