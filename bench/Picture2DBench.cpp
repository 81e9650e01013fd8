// Building a 2D picture from two logs of 10^6 steps of the beam model (R against S) in the
// three colourations, as a 2D window builds it (rendered at every RefreshRate2D points and at
// the end), against a plain loop that only bins the two logs. Time per point and the ratio to
// the plain loop are in the counters.

#include "BenchModels.h"
#include "results/Picture2D.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace probex {
namespace {

using namespace bench;

/// One run of the beam model, logging Z, R and S, shared by every case.
struct BeamLogs {
    EngineRun run{Beam};
    const TOutLog* xs = nullptr;
    const TOutLog* ys = nullptr;
    Scale2D scale;

    BeamLogs() {
        run.run();
        TOutputTable& outputs = run.model.outputs();
        const auto entry = [&outputs](const char* name) -> TOutVar& {
            return outputs.runTable().item(outputs.FindActiveIndex(outputs.FindOutputRow(name)));
        };
        TOutVar& r = entry("R");
        TOutVar& s = entry("S");
        xs = r.Log.get();
        ys = s.Log.get();
        scale = Scale2D::FromRanges(r.Stat->min, r.Stat->max, s.Stat->min, s.Stat->max);
        if (!scale.valid) throw std::runtime_error("no picture");
        // "0 > Z" compiled and validated for single steps, as the window asks for it.
        if (!run.model.outEquations().CompileForSteps(run.model.outEquationLines))
            throw std::runtime_error("no condition");
    }
};

BeamLogs& Logs() {
    static BeamLogs logs;
    return logs;
}

/// Seconds per point (shown with its SI prefix, "n" for nanoseconds).
void Report(benchmark::State& state) {
    state.counters["per point"] = benchmark::Counter(static_cast<double>(Steps),
                                                     benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

void BM_Picture2DPlainBinning(benchmark::State& state) {
    BeamLogs& logs = Logs();
    for (auto _ : state) {
        std::int64_t sum = 0;
        for (std::int32_t k = 0; k < Steps; ++k) {
            int i = 0;
            int j = 0;
            if (BinPoint(logs.scale, (*logs.xs)[k], (*logs.ys)[k], i, j)) sum += i + j;
        }
        benchmark::DoNotOptimize(sum);
    }
    Report(state);
}

void BuildPicture(benchmark::State& state, std::int32_t colouration) {
    BeamLogs& logs = Logs();
    const TSettings& settings = logs.run.settings;
    TOutEquations& out = logs.run.model.outEquations();
    PictureGrid grid;
    std::vector<std::uint32_t> pixels(PictureSide * PictureSide);
    std::int64_t misses = 0;
    for (auto _ : state) {
        grid.clear();
        const Palette2D palette = MakePalette(colouration, settings);
        for (std::int32_t next = 0; next < Steps;) {
            const std::int32_t end = RefreshStretchEnd(next, settings.RefreshRate2D, Steps);
            if (colouration != ColourProb)
                BinPoints(*logs.xs, *logs.ys, next, end, logs.scale, grid);
            else if (!BinPointsWithCondition(
                         *logs.xs, *logs.ys, next, end, logs.scale, grid,
                         [&out](std::int32_t k) { return out.ConditionAtStep(k); }))
                throw std::runtime_error("condition failed");
            next = end;
            RenderPicture(grid, colouration, palette, 0xFFFFFFFF, pixels.data());
        }
        benchmark::DoNotOptimize(pixels.data());
        misses = 0;
        for (const std::uint16_t c : grid.occupied())
            misses += grid.miss(c / PictureSide, c % PictureSide);
    }
    Report(state);
    state.counters["cells"] = static_cast<double>(grid.occupied().size());
    if (colouration == ColourProb) state.counters["misses"] = static_cast<double>(misses);
}

void BM_Picture2DNo(benchmark::State& state) {
    BuildPicture(state, ColourNo);
}
void BM_Picture2DFreq(benchmark::State& state) {
    BuildPicture(state, ColourFreq);
}
void BM_Picture2DProb(benchmark::State& state) {
    BuildPicture(state, ColourProb);
}

BENCHMARK(BM_Picture2DPlainBinning)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_Picture2DNo)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_Picture2DFreq)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_Picture2DProb)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

} // namespace
} // namespace probex
