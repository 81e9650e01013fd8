// Whole runs of two reference models, 10^6 steps each: through the batch command (reading the
// example project, running, printing), through the run worker step by step and several steps
// at a time, from the main window, and as hand-written loops that do the same sampling, range
// checks and accumulation with the same x87 functions, so the ratios show what the engine's
// generality costs. The batch command and the hand loop also run as processes of their own,
// timed from start to exit, beside the shared reference loop (../shared/bench/native-loop.cpp,
// variant ldx_full with huge pages) when the build found it. The window runs once with no
// result window open and once with the result windows of beam-windows.pxw.

#include "BenchModels.h"
#include "ProcessRun.h"
#include "WindowRun.h"
#include "hand/HandLoops.h"

#include "app/BatchCommand.h"
#include "engine/ExtendedMath.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace probex {
namespace {

using namespace bench;

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

/// A way of running that is timed from inside this process.
std::function<Extended(double&)> InProcess(std::function<Extended()> run) {
    return [run](double& seconds) {
        const double start = ProcessSeconds();
        const Extended p = run();
        seconds = ProcessSeconds() - start;
        return p;
    };
}

/// A program run as a process of its own, from its start to its exit, as the command line
/// runs it, on one core.
std::function<Extended(double&)> AsProcess(std::string program, std::vector<std::string> args,
                                           ProcessOptions options = {}) {
    options.pinned = true;
    return [program, args, options](double& seconds) {
        const ProcessFigures figures = RunProcess(program, args, options);
        seconds = figures.cpuSeconds;
        return figures.probability;
    };
}

/// Every way of running one model, taken in turn in each iteration, so that whatever else
/// the machine does weighs on all of them alike. Counters: the best CPU time of each in ms,
/// and the speed of each against the hand-written loop (hand time / its time); the two
/// processes against each other. Every way must end with the hand loop's probability, or the
/// figures compare different work.
void SideBySide(benchmark::State& state, const ModelDescription& description, Extended (*hand)(),
                const char* model) {
    const std::string project = std::string(model) + ".pxw";
    EngineRun oneStep(description, false), interleaved(description, true);
    WindowRun window(project.c_str()), windows(project.c_str(), true);
    const std::string file = std::string(PROBEX_SOURCE_DIR) + "/examples/" + project;
    struct Way {
        const char* name;
        std::function<Extended(double&)> run;
        double best = 1e300;
        std::function<void()> settle = [] {}; // untimed, after the run
    };
    std::vector<Way> ways = {
        {"hand", InProcess(hand)},
        {"batch", InProcess([&project] { return BatchRun(project.c_str()); })},
        {"one-step", InProcess([&oneStep] { return oneStep.run(); })},
        {"interleaved", InProcess([&interleaved] { return interleaved.run(); })},
        {"window", InProcess([&window] { return window.run(); }), 1e300,
         [&window] { window.settle(); }},
        {"windows", InProcess([&windows] { return windows.run(); }), 1e300,
         [&windows] { windows.settle(); }},
        {"hand process", AsProcess(PROBEX_HAND_BINARY, {model})},
        {"batch process",
         AsProcess(PROBEX_BINARY, {"--batch", file, "--steps", std::to_string(Steps), "--seed",
                                   std::to_string(RunSeed)})},
    };
#ifdef PROBEX_REFERENCE_BINARY
    // Its own transcription of the model: its probability is printed to six places and may
    // differ in the last counted steps, so it is shown, not required.
    Extended referenceProbability = 0;
    ways.push_back(
        {"reference process",
         [&referenceProbability,
          run = AsProcess(PROBEX_REFERENCE_BINARY,
                          {"ldx_full", model, std::to_string(Steps), "1", std::to_string(RunSeed)},
                          {{"SIM_HUGEPAGES=1"}, true, " p="})](double& seconds) {
             referenceProbability = run(seconds);
             return Extended(-1);
         }});
#endif
    Extended probability = 0;
    double windowsThreadMs = 1e300; // the window's own thread during the best "windows" run
    for (auto _ : state) {
        for (Way& way : ways) {
            double seconds = 0;
            const Extended p = way.run(seconds);
            way.settle();
            if (std::string_view(way.name) == "windows" && seconds < way.best)
                windowsThreadMs = windows.mainThreadMs();
            way.best = std::min(way.best, seconds);
            if (&way == &ways.front())
                probability = p;
            else if (std::string_view(way.name) != "reference process" && p != probability)
                state.SkipWithError(
                    (std::string(way.name) + " ends with another probability").c_str());
        }
    }
    const auto best = [&ways](std::string_view name) {
        return std::find_if(ways.begin(), ways.end(),
                            [name](const Way& w) { return w.name == name; })
            ->best;
    };
    for (const char* name : {"hand", "batch", "one-step", "interleaved", "window", "windows"}) {
        state.counters[std::string(name) + " ms"] = best(name) * 1e3;
        if (std::string_view(name) != "hand")
            state.counters[std::string(name) + " x"] = best("hand") / best(name);
    }
    // The window's rate against the batch command's.
    state.counters["window/batch"] = best("batch") / best("window");
    state.counters["windows/batch"] = best("batch") / best("windows");
    state.counters["windows click ms"] = windows.longestWaitMs();
    state.counters["windows main thread ms"] = windowsThreadMs;
    // Whole processes: the command line against the hand-written program.
    state.counters["hand proc ms"] = best("hand process") * 1e3;
    state.counters["batch proc ms"] = best("batch process") * 1e3;
    state.counters["batch proc x"] = best("hand process") / best("batch process");
    char text[64];
    std::snprintf(text, sizeof text, "P=%.8Lf", probability);
#ifdef PROBEX_REFERENCE_BINARY
    // The reference loop's whole process against the batch command's (reference time / batch
    // time: above 1 the batch is the faster).
    state.counters["ref proc ms"] = best("reference process") * 1e3;
    state.counters["ref/batch proc"] = best("reference process") / best("batch process");
    std::snprintf(text + std::strlen(text), sizeof text - std::strlen(text), " ref P=%.6Lf",
                  referenceProbability);
#endif
    state.SetLabel(text);
}

void BM_Beam(benchmark::State& state) {
    SideBySide(state, Beam, HandBeam, "beam");
}

void BM_Poly(benchmark::State& state) {
    SideBySide(state, Poly, HandPoly, "poly");
}

BENCHMARK(BM_Beam)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(9);
BENCHMARK(BM_Poly)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(9);

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
