// A run of the beam example with its result windows open (offscreen) against the same run with
// every result window closed, at the default refresh settings: what the windows' refreshes
// cost the run.

#include "components/Prompter.h"
#include "gui/app/ResultWindowManager.h"
#include "gui/app/TFrmMain.h"
#include "model/ProjectModel.h"
#include "project/ProjectCommands.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

namespace probex {
namespace {

constexpr std::int32_t Steps = 200000;

/// Any message means the benchmark measures something else than a plain run.
class FailingPrompter : public Prompter {
public:
    Answer message(Kind, const std::string& text, Buttons) override {
        throw std::runtime_error("unexpected message: " + text);
    }
    std::optional<std::string> chooseFile(const FileRequest&) override { return std::nullopt; }
};

QApplication& Application() {
    static int argc = 1;
    static char name[] = "probex_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(argc, argv);
    return application;
}

void RunBeamWindows(benchmark::State& state, bool withWindows) {
    Application();
    QTemporaryDir dir;
    TSettings settings = MakeDefaultSettings(dir.path().toStdString() + "/");
    settings.SaveWinPos = false;
    FailingPrompter prompter;
    TFrmMain main(settings, prompter, dir.filePath("Probex.ini").toStdString());
    main.resize(1280, 960);
    main.show();
    if (!main.commands().Open(std::string(PROBEX_SOURCE_DIR) + "/examples/beam-windows.pxw"))
        throw std::runtime_error("beam-windows.pxw not read");
    ResultWindowManager& windows = *main.resultWindows();
    std::size_t open = 0;
    for (const ResultWindowKind kind : AllResultWindowKinds) {
        if (!withWindows) windows.closeAll(kind);
        for (std::size_t i = 0; i < windows.count(kind); ++i)
            open += windows.window(kind, i) != nullptr ? 1 : 0;
    }
    ProjectModel& model = main.model();
    model.autoSeed = false;
    model.setLastStep(Steps);
    for (auto _ : state) {
        model.Reset();
        QEventLoop loop;
        QObject::connect(&main, &TFrmMain::runFinished, &loop, &QEventLoop::quit);
        if (model.RunStop() != ProjectModel::RunCommand::Started)
            throw std::runtime_error("the run did not start");
        loop.exec();
    }
    state.counters["windows"] = static_cast<double>(open);
    state.counters["steps/s"] =
        benchmark::Counter(static_cast<double>(Steps) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}

void BM_BeamWithResultWindows(benchmark::State& state) {
    RunBeamWindows(state, true);
}
void BM_BeamWithoutResultWindows(benchmark::State& state) {
    RunBeamWindows(state, false);
}

} // namespace

BENCHMARK(BM_BeamWithoutResultWindows)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_BeamWithResultWindows)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_BeamWithoutResultWindows)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_BeamWithResultWindows)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace probex
