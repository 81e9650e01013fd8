// The "Parallel" generator against "Simple" on one thread, and on two threads against one,
// side by side on the reference models: through the batch command in this process and from
// the main window. Times are wall-clock (several threads share the work), the best of each.
// A run on two threads must end with the probability of the run on one, bit for bit.

#include "BenchModels.h"
#include "ProcessRun.h"
#include "WindowRun.h"

#include "app/BatchCommand.h"
#include "variables/Random.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace probex {
namespace {

using namespace bench;

/// `probex --batch` on an example project with the generator and threads given.
Extended BatchRun(const std::string& project, const char* generator, const char* threads) {
    const std::string file = std::string(PROBEX_SOURCE_DIR) + "/examples/" + project;
    const std::string steps = std::to_string(Steps), seed = std::to_string(RunSeed);
    const char* argv[] = {file.c_str(),  "--steps", steps.c_str(), "--seed", seed.c_str(),
                          "--generator", generator, "--threads",   threads};
    std::ostringstream out, err;
    if (RunBatchCommand(9, argv, out, err) != 0) throw std::runtime_error(err.str());
    const std::string text = out.str();
    const std::size_t line = text.find("Probability: ");
    if (line == std::string::npos) throw std::runtime_error("no probability: " + text);
    return std::strtold(text.c_str() + line + 13, nullptr);
}

/// `probex --batch` as a process of its own, on every core it may use.
Extended BatchProcess(const std::string& project, const char* threads) {
    const std::string file = std::string(PROBEX_SOURCE_DIR) + "/examples/" + project;
    return RunProcess(PROBEX_BINARY,
                      {"--batch", file, "--steps", std::to_string(Steps), "--seed",
                       std::to_string(RunSeed), "--generator", "parallel", "--threads", threads})
        .probability;
}

double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void Threads(benchmark::State& state, const char* model) {
    const std::string project = std::string(model) + ".pxw";
    WindowRun simpleWindow(project.c_str(), GeneratorSimple, 1);
    WindowRun oneWindow(project.c_str(), GeneratorParallel, 1);
    WindowRun twoWindow(project.c_str(), GeneratorParallel, 2);
    struct Way {
        const char* name;
        std::function<Extended()> run;
        bool parallel;
        double best = 1e300;
    };
    std::vector<Way> ways = {
        {"batch simple", [&] { return BatchRun(project, "simple", "1"); }, false},
        {"batch 1", [&] { return BatchRun(project, "parallel", "1"); }, true},
        {"batch 2", [&] { return BatchRun(project, "parallel", "2"); }, true},
        {"window simple", [&] { return simpleWindow.run(); }, false},
        {"window 1", [&] { return oneWindow.run(); }, true},
        {"window 2", [&] { return twoWindow.run(); }, true},
        {"process 1", [&] { return BatchProcess(project, "1"); }, true},
        {"process 2", [&] { return BatchProcess(project, "2"); }, true},
    };
    double windowThreadMs = 1e300; // the window's thread during the runs on two threads
    Extended simple = -1, parallel = -1;
    for (auto _ : state) {
        for (Way& way : ways) {
            const double start = WallSeconds();
            const Extended p = way.run();
            way.best = std::min(way.best, WallSeconds() - start);
            if (std::string(way.name) == "window 2")
                windowThreadMs = std::min(windowThreadMs, twoWindow.mainThreadMs());
            Extended& expected = way.parallel ? parallel : simple;
            if (expected < 0)
                expected = p;
            else if (p != expected)
                state.SkipWithError(
                    (std::string(way.name) + " ends with another probability").c_str());
        }
    }
    const auto best = [&ways](const std::string& name) {
        return std::find_if(ways.begin(), ways.end(), [&](const Way& w) { return w.name == name; })
            ->best;
    };
    for (const Way& way : ways)
        state.counters[std::string(way.name) + " ms"] = way.best * 1e3;
    state.counters["window 2 main thread ms"] = windowThreadMs;
    // Speeds against each other: above 1 the second is faster.
    for (const char* path : {"batch", "window"}) {
        const std::string p = path;
        state.counters[p + " simple/parallel"] = best(p + " simple") / best(p + " 1");
        state.counters[p + " 2 threads x"] = best(p + " 1") / best(p + " 2");
    }
    state.counters["process 2 threads x"] = best("process 1") / best("process 2");
    char text[64];
    std::snprintf(text, sizeof text, "P=%.8Lf (Simple %.8Lf)", parallel, simple);
    state.SetLabel(text);
}

void BM_ThreadsBeam(benchmark::State& state) {
    Threads(state, "beam");
}

void BM_ThreadsPoly(benchmark::State& state) {
    Threads(state, "poly");
}

BENCHMARK(BM_ThreadsBeam)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(9);
BENCHMARK(BM_ThreadsPoly)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(9);

} // namespace
} // namespace probex
