#include "app/BatchCommand.h"

#include "app/BatchPrompter.h"
#include "model/ProjectModel.h"
#include "model/ResultWindowOpening.h"
#include "project/ProjectCommands.h"
#include "project/ProjectWriter.h"
#include "results/SaveResults.h"
#include "settings/IniFile.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"
#include "settings/SettingsLocation.h"
#include "simulation/OutStat.h"
#include "variables/Random.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <filesystem>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace probex {

namespace {

constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

struct BatchOptions {
    std::string project;
    std::optional<std::int64_t> steps;
    std::optional<std::int64_t> seed;
    std::optional<std::int32_t> generator;
    std::optional<Extended> targetCoV;
    std::string resultsDir;
    std::string settingsFile;
    std::string saveAs;
    std::string report;
    bool yes = false;
};

const char* const Usage =
    "usage: probex --batch PROJECT.pxw [--steps N] [--seed N] [--generator simple|parallel] "
    "[--results DIR] [--settings FILE] [--save-as FILE] [--target-cov PERCENT] [--report FILE.pdf] "
    "[--yes]\n";

bool ParseWhole(const std::string& text, std::int64_t& value) {
    if (text.empty() || text.size() > 18) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

/// Returns an error text, empty when the arguments are fine.
std::string ParseArguments(int argc, const char* const* argv, BatchOptions& options) {
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&](std::string& value) {
            if (i + 1 >= argc) return false;
            value = argv[++i];
            return true;
        };
        std::string value;
        std::int64_t number = 0;
        if (arg == "--yes") {
            options.yes = true;
        } else if (arg == "--steps" || arg == "--seed") {
            if (!next(value) || !ParseWhole(value, number))
                return arg + " needs a whole number, not '" + value + "'";
            (arg == "--steps" ? options.steps : options.seed) = number;
        } else if (arg == "--generator") {
            if (next(value) && value == "simple")
                options.generator = GeneratorSimple;
            else if (value == "parallel")
                options.generator = GeneratorParallel;
            else
                return "--generator needs simple or parallel, not '" + value + "'";
        } else if (arg == "--target-cov") {
            Extended percent = 0;
            if (!next(value) || !TryStrToExtended(value, '.', percent) || !(percent > 0))
                return "--target-cov needs a percentage above 0, not '" + value + "'";
            options.targetCoV = percent;
        } else if (arg == "--results" || arg == "--settings" || arg == "--save-as" ||
                   arg == "--report") {
            if (!next(value) || value.empty()) return arg + " needs a file or directory name";
            (arg == "--results"    ? options.resultsDir
             : arg == "--settings" ? options.settingsFile
             : arg == "--report"   ? options.report
                                   : options.saveAs) = value;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "unknown option " + arg;
        } else if (options.project.empty()) {
            options.project = arg;
        } else {
            return "more than one project file: " + arg;
        }
    }
    if (options.project.empty()) return "no project file";
    return {};
}

/// Prints what the windows would show: errors with their line and column.
class BatchObserver : public ModelObserver {
public:
    explicit BatchObserver(std::ostream& err) : m_err(err) {}
    void showEquationError(const TEquError& error, bool outEquations) override {
        m_err << "error: " << (outEquations ? "out equations" : "equations") << ", line "
              << error.Line + 1 << ", column " << error.Pos << ": " << ErrorText(error.Code)
              << '\n';
    }
    void showInputRow(int row) override {
        m_err << "information: input variable row " << row << '\n';
    }
    void runEnded(RunOutcome outcome) override { m_outcome = outcome; }
    std::optional<RunOutcome> outcome() const { return m_outcome; }

private:
    std::ostream& m_err;
    std::optional<RunOutcome> m_outcome;
};

std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int) {
    g_interrupted.store(true);
}

/// Turns Ctrl+C, and the termination request a session or job manager sends, into the
/// Stop command while the run proceeds.
class InterruptGuard {
public:
    explicit InterruptGuard(ProjectModel& model) : m_model(model) {
        g_interrupted.store(false);
        m_previous = std::signal(SIGINT, OnInterrupt);
        m_previousTerm = std::signal(SIGTERM, OnInterrupt);
        // A signal handler may only set a flag, so the flag is polled; the wait ends at once
        // when the run is over, so that the command does not linger after its last step.
        m_watcher = std::thread([this] {
            std::unique_lock lock(m_mutex);
            while (!m_wake.wait_for(lock, std::chrono::milliseconds(20), [this] { return m_done; }))
                if (g_interrupted.load()) m_model.requestStop();
        });
    }
    ~InterruptGuard() {
        {
            const std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_one();
        m_watcher.join();
        std::signal(SIGINT, m_previous);
        std::signal(SIGTERM, m_previousTerm);
    }
    bool interrupted() const { return g_interrupted.load(); }

private:
    ProjectModel& m_model;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false; // guarded by m_mutex
    std::thread m_watcher;
    void (*m_previous)(int) = SIG_DFL;
    void (*m_previousTerm)(int) = SIG_DFL;
};

void PrintStatistics(ProjectModel& model, std::ostream& out) {
    const char sep = model.settings().DecimalSep;
    out << "Variable\tSteps\tMin\tMax\tMean\tStDev\n";
    TOutVarSet& run = model.outputs().runTable();
    for (int i = 1; i <= run.count(); ++i) {
        TOutVar& var = run.item(i);
        if (!var.Stat) continue;
        StatCompute(*var.Stat, 2);
        const TOutStat& s = *var.Stat;
        out << model.outputs().cell(var.Row, colVariable) << '\t' << s.count << '\t'
            << FormatResultValue(s.min, sep) << '\t' << FormatResultValue(s.max, sep) << '\t'
            << FormatResultValue(s.mean, sep) << '\t' << FormatResultValue(s.stdev, sep) << '\n';
    }
}

std::vector<int> WindowRows(ProjectModel& model, const std::vector<TPQWindowDesc>& windows) {
    std::vector<int> rows;
    for (const TPQWindowDesc& w : windows)
        if (int row = model.outputs().FindOutputRow(w.variable)) rows.push_back(row);
    return rows;
}

} // namespace

int RunBatchCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                    const ReportWriter& writeReport) {
    BatchOptions options;
    std::string problem = ParseArguments(argc, argv, options);
    if (problem.empty() && !options.report.empty() && !writeReport)
        problem = "--report is not available in this program";
    if (!problem.empty()) {
        err << "error: " << problem << '\n' << Usage;
        return ExitUsage;
    }

    SettingsLocation location = FindSettingsLocation();
    if (!options.settingsFile.empty()) location.SettingsFile = options.settingsFile;
    TSettings settings = MakeDefaultSettings(location.AppDir);
    if (!options.settingsFile.empty() && !std::filesystem::exists(options.settingsFile)) {
        err << "error: settings file not found: " << options.settingsFile << '\n';
        return ExitUsage;
    }
    // A settings file named but unreadable would quietly run with other settings.
    if (std::string problem; !options.settingsFile.empty() &&
                             !IniFile().load(options.settingsFile, &problem) && !problem.empty()) {
        err << "error: " << problem << '\n';
        return ExitUsage;
    }
    BatchPrompter prompter(err, options.yes);
    if (std::string problem = LoadSettings(location.SettingsFile, settings); !problem.empty())
        prompter.warning(problem);

    DirectCall direct;
    ProjectModel model(settings, prompter, direct);
    BatchObserver observer(err);
    model.setObserver(&observer);
    ProjectCommands commands(model);
    commands.New();
    const ReadResult read = ReadProject(model, options.project, false);
    if (read.outcome != ReadOutcome::Completed) {
        err << "error: the project " << options.project << " could not be read\n";
        return ExitUsage;
    }
    model.currentProjectFile = options.project;
    if (options.steps) model.setLastStep(*options.steps);
    if (options.generator) settings.Generator = *options.generator;
    if (options.seed) {
        // Seeds the generator the settings choose: "Parallel", or else "Simple".
        model.autoSeed = false;
        if (settings.Generator != GeneratorParallel) settings.Generator = GeneratorSimple;
        settings.Seed1 = static_cast<std::int32_t>(*options.seed);
    }

    if (options.targetCoV) {
        TOutEvalSettings& eval = model.outEquations().evalSettings();
        eval.StopRule = true;
        eval.TargetCoV = *options.targetCoV;
        if (eval.Mode != OutEvalMode::Probability)
            err << "warning: --target-cov has no effect: the out equations are not in "
                   "Probability mode\n";
    }

    int exitCode = 0;
    {
        InterruptGuard interrupt(model);
        const ProjectModel::RunCommand started = model.RunStop();
        model.waitForRun();
        if (started != ProjectModel::RunCommand::Started) {
            err << "error: the run did not start\n";
            return ExitFailed;
        }
        if (interrupt.interrupted()) {
            err << "error: interrupted at step " << model.stepCounter() << '\n';
            exitCode = ExitFailed;
        }
    }
    if (observer.outcome() == RunOutcome::Failed) return ExitFailed;
    if (model.stepCounter() == 0) {
        // Results of no step would be files full of zeros.
        err << "error: no step was run, so there are no results\n";
        return ExitFailed;
    }
    if (!model.stopRuleReason().empty()) err << "information: " << model.stopRuleReason() << '\n';
    // What the 1D windows do at the end of a run, so that the files equal the window's.
    FinalOneDHistograms(model);

    PrintStatistics(model, out);
    const TOutEquations& outEq = model.outEquations();
    if (outEq.compiled()) {
        if (!outEq.hasResult()) {
            err << "error: the out equations could not be evaluated\n";
            exitCode = ExitFailed;
        } else {
            const bool parameter = outEq.evalSettings().Mode == OutEvalMode::Parameter;
            out << (parameter ? "Parameter: " : "Probability: ") << outEq.result().Text << '\n';
            out << EstimateLine(outEq.result().Estimate, settings.DecimalSep) << '\n';
        }
    }

    if (!options.resultsDir.empty()) {
        const std::vector<int> probRows = WindowRows(model, model.resultWindows.probabilities);
        const std::vector<int> quantRows = WindowRows(model, model.resultWindows.quantiles);
        const std::vector<ResultEntry> entries =
            QualifyingResults(model.outputs(), probRows, quantRows);
        SaveResultsOptions saveOptions;
        saveOptions.directory = options.resultsDir;
        saveOptions.prompts = false;
        saveOptions.projectFile = model.currentProjectFile;
        saveOptions.stepsDone = model.stepCounter();
        if (!SaveResults(model.outputs(), settings, prompter, entries, saveOptions).ok)
            return ExitUsage;
    }
    if (!options.saveAs.empty() && !WriteProject(model, options.saveAs)) return ExitUsage;
    if (!options.report.empty()) {
        if (const std::string failure = writeReport(model, options.report); !failure.empty()) {
            prompter.error(failure);
            return ExitUsage;
        }
    }
    return exitCode;
}

} // namespace probex
