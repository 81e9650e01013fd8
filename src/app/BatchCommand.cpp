#include "app/BatchCommand.h"

#include "app/BatchPrompter.h"
#include "app/ReplaceQuestion.h"
#include "engine/NumberWord.h"
#include "model/ProjectModel.h"
#include "model/ResultWindowOpening.h"
#include "project/ProjectCommands.h"
#include "project/ProjectReader.h"
#include "project/ProjectWriter.h"
#include "reliability/ReliabilitySettings.h"
#include "results/ResultSet.h"
#include "results/SaveResults.h"
#include "sensitivity/RunSensitivity.h"
#include "sensitivity/SensitivityText.h"
#include "settings/FileAccess.h"
#include "settings/IniFile.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"
#include "settings/SettingsLocation.h"
#include "simulation/OutStat.h"
#include "simulation/PartialResult.h"
#include "simulation/ShardRunner.h"
#include "simulation/StepReplay.h"
#include "variables/Random.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <unistd.h>
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
    std::optional<std::int32_t> threads;
    std::optional<Extended> targetCoV;
    std::optional<ReliabilityMethod> method;
    std::string resultsDir;
    std::string settingsFile;
    std::string saveAs;
    std::string report;
    bool yes = false;
    bool sensitivity = false;
    std::optional<std::pair<std::uint32_t, std::uint32_t>> shard; ///< K and N of --shard K/N
    std::string partial;
};

const char* const Usage =
    "usage: probex --batch PROJECT.pxw [--steps N] [--seed N] [--generator simple|parallel] "
    "[--threads N] [--results DIR] [--settings FILE] [--save-as FILE] [--target-cov PERCENT] "
    "[--report FILE.pdf] [--sensitivity] [--yes]\n"
    "       [--method montecarlo|form|sorm|is|subset] [--shard K/N --partial FILE]\n";

bool ParseWhole(const std::string& text, std::int64_t& value) {
    if (text.empty() || text.size() > 18) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

/// What a shard cannot be combined with: it runs a share of the steps and gathers nothing
/// itself, with the seeds every other shard uses.
std::string ShardProblem(const BatchOptions& options) {
    if (!options.shard) return options.partial.empty() ? "" : "--partial needs --shard K/N";
    if (options.partial.empty()) return "--shard needs --partial FILE";
    if (!options.seed)
        return "--shard needs --seed N: every shard of a run must draw from the same seeds";
    if (options.generator && *options.generator != GeneratorParallel)
        return "--shard runs with the Parallel generator only";
    if (options.targetCoV) return "--target-cov cannot be used with --shard";
    if (options.method) return "--method cannot be used with --shard";
    for (const auto& [given, name] : {std::pair{!options.resultsDir.empty(), "--results"},
                                      std::pair{!options.saveAs.empty(), "--save-as"},
                                      std::pair{!options.report.empty(), "--report"}})
        if (given) return std::string(name) + " cannot be used with --shard: give it to --merge";
    return {};
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
        } else if (arg == "--sensitivity") {
            options.sensitivity = true;
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
        } else if (arg == "--threads") {
            if (!next(value) || !ParseWhole(value, number) || number > MaxThreads)
                return "--threads needs a whole number from 0 (every core) to " +
                       std::to_string(MaxThreads) + ", not '" + value + "'";
            options.threads = static_cast<std::int32_t>(number);
        } else if (arg == "--target-cov") {
            Extended percent = 0;
            if (!next(value) || !TryStrToExtended(value, '.', percent) || !(percent > 0)) {
                // A number too large for any variable is a number all the same.
                const std::string_view digits =
                    std::string_view(value).substr(value.starts_with('+') ? 1 : 0);
                if (ParseUnsignedNumber(digits, '.', percent) == NumberParse::Range)
                    return "--target-cov " + value + " is out of range";
                return "--target-cov needs a percentage above 0, not '" + value + "'";
            }
            options.targetCoV = percent;
        } else if (arg == "--shard") {
            std::int64_t k = 0, n = 0;
            const std::size_t slash = next(value) ? value.find('/') : std::string::npos;
            if (slash == std::string::npos || !ParseWhole(value.substr(0, slash), k) ||
                !ParseWhole(value.substr(slash + 1), n) || n < 1 || k >= n || n > 1000000)
                return "--shard needs K/N with 0 <= K < N, not '" + value + "'";
            options.shard = {static_cast<std::uint32_t>(k), static_cast<std::uint32_t>(n)};
        } else if (arg == "--method") {
            ReliabilityMethod method = ReliabilityMethod::MonteCarlo;
            if (!next(value) || !MethodFromWord(value, method))
                return "--method needs montecarlo, form, sorm, is or subset, not '" + value + "'";
            options.method = method;
        } else if (arg == "--results" || arg == "--settings" || arg == "--save-as" ||
                   arg == "--report" || arg == "--partial") {
            if (!next(value) || value.empty()) return arg + " needs a file or directory name";
            (arg == "--results"    ? options.resultsDir
             : arg == "--settings" ? options.settingsFile
             : arg == "--report"   ? options.report
             : arg == "--partial"  ? options.partial
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
    if (std::string problem = ShardProblem(options); !problem.empty()) return problem;
    if (options.shard) options.generator = GeneratorParallel;
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
/// Stop command while the run proceeds; afterwards a signal only raises the flag, which the
/// writing of the files asks between files.
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
    /// Forgets the signals so far: a later one interrupts what follows.
    void clear() { g_interrupted.store(false); }

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

void PrintSensitivity(const TSensitivity& table, char sep, std::ostream& out) {
    out << "Sensitivity\t" << SensitivityHeader(table.event) << '\n';
    for (const TInputSensitivity& input : table.inputs)
        out << "Sensitivity\t" << SensitivityLine(table, input, sep) << '\n';
}

/// A table for every logged output and, in Probability mode, for the event.
void PrintSensitivities(ProjectModel& model, std::ostream& out, std::ostream& err) {
    const char sep = model.settings().DecimalSep;
    const std::int32_t steps = model.stepCounter();
    const std::vector<std::string> names = SensitivityOutputs(model.outputs());
    if (names.empty())
        err << "warning: --sensitivity needs an output variable with the activity Log\n";
    for (const std::string& name : names)
        if (const auto table = OutputSensitivity(model.outputs(), name, steps))
            PrintSensitivity(*table, sep, out);
    TOutEquations& outEq = model.outEquations();
    if (outEq.hasResult() && outEq.evalSettings().Mode == OutEvalMode::Probability)
        if (const auto table = EventSensitivity(model.outputs(), outEq, steps))
            PrintSensitivity(*table, sep, out);
}

std::vector<int> WindowRows(ProjectModel& model, const std::vector<TPQWindowDesc>& windows) {
    std::vector<int> rows;
    for (const TPQWindowDesc& w : windows)
        if (int row = model.outputs().FindOutputRow(w.variable)) rows.push_back(row);
    return rows;
}

/// The settings a merge runs with, in a folder of its own for as long as the merge lasts.
class SettingsCopy {
public:
    ~SettingsCopy() {
        std::error_code ignored;
        if (!m_folder.empty()) std::filesystem::remove_all(m_folder, ignored);
    }
    /// Returns the error text, empty on success.
    std::string write(const std::string& text) {
        std::string folder =
            (std::filesystem::temp_directory_path() / "probex-merge-XXXXXX").string();
        // A folder only this process can write to: no one else's link is followed.
        if (!::mkdtemp(folder.data()))
            return "Cannot create a temporary folder: " + std::string(std::strerror(errno));
        m_folder = folder;
        m_path = folder + "/Probex.ini";
        return WriteFileAtomically(m_path, text);
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_folder;
    std::string m_path;
};

/// Runs a shard's steps and writes its partial result: exit 0 when it was written.
int RunShard(ProjectModel& model, const BatchObserver& observer, const BatchOptions& options,
             const std::string& projectText, const std::string& settingsText, std::ostream& err) {
    const auto [k, n] = *options.shard;
    TPartialHeader header;
    header.shard = k;
    header.shardCount = n;
    header.steps = model.lastStep();
    const TStepRange range = ShardStepRange(header.steps, k, n);
    header.firstStep = range.first;
    header.lastStep = range.last;
    header.seed1 = model.settings().Seed1;
    header.seed2 = model.settings().Seed2;
    header.flags = options.sensitivity ? PartialSensitivity : 0;
    header.projectPath = options.project;
    header.projectText = projectText;
    header.settingsText = settingsText;
    header.checksum = ProjectChecksum(projectText, settingsText);
    const std::string shard = "shard " + std::to_string(k) + "/" + std::to_string(n);
    // A file that is no partial result is replaced only when told to.
    if (!options.yes && std::filesystem::exists(options.partial)) {
        std::string start(PartialMagic.size(), '\0');
        std::ifstream file(options.partial, std::ios::binary);
        file.read(start.data(), static_cast<std::streamsize>(start.size()));
        if (start != PartialMagic) {
            err << "error: \"" << options.partial << "\" is no partial result and was not "
                << "replaced (--yes replaces it)\n";
            return ExitUsage;
        }
    }
    TShardRunner runner(std::move(header), options.partial);
    InterruptGuard interrupt(model);
    if (model.RunWith(runner) != ProjectModel::RunCommand::Started) {
        err << "error: the run did not start\n";
        return ExitFailed;
    }
    if (!runner.problem().empty()) {
        err << "error: " << runner.problem() << '\n';
        return ExitUsage;
    }
    if (observer.outcome() != RunOutcome::Finished) {
        err << "error: " << shard << (interrupt.interrupted() ? " was interrupted" : " failed")
            << " at step " << runner.stepReached() << "; no partial result was written\n";
        return ExitFailed;
    }
    err << "information: " << shard << ": steps " << range.first << " to " << range.last << " of "
        << model.lastStep() << " written to " << options.partial << '\n';
    return 0;
}

/// The batch command's run, of a project file or (with `merge`) of the shards' parts.
int RunBatch(const BatchOptions& options, const MergedRun* merge, std::ostream& out,
             std::ostream& err, const ReportWriter& writeReport) {
    SettingsLocation location = FindSettingsLocation();
    SettingsCopy mergeSettings;
    if (merge) {
        if (const std::string problem = mergeSettings.write(merge->header->settingsText);
            !problem.empty()) {
            err << "error: " << problem << '\n';
            return ExitUsage;
        }
        location.SettingsFile = mergeSettings.path();
    }
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
    std::string separatorWarning;
    if (std::string problem = LoadSettings(location.SettingsFile, settings, &separatorWarning);
        !problem.empty())
        prompter.warning(problem);
    if (!separatorWarning.empty()) prompter.warning(separatorWarning);

    DirectCall direct;
    ProjectModel model(settings, prompter, direct);
    BatchObserver observer(err);
    model.setObserver(&observer);
    ProjectCommands commands(model);
    commands.New();
    // The project as a shard records it: the very text it runs.
    std::optional<std::string> projectText;
    if (merge)
        projectText = merge->header->projectText;
    else
        projectText = LoadProjectFile(options.project, prompter, settings.ListSep);
    const ReadResult read =
        projectText ? ReadProjectText(model, *projectText, ProjectDirectoryOf(options.project))
                    : ReadResult{ReadOutcome::NotOpened, std::nullopt};
    if (read.outcome != ReadOutcome::Completed) {
        err << "error: the project " << options.project << " could not be read\n";
        return ExitUsage;
    }
    model.currentProjectFile = options.project;
    if (options.steps) model.setLastStep(*options.steps);
    model.outputs().keepInputValues = options.sensitivity;
    if (options.generator) settings.Generator = *options.generator;
    if (options.threads) settings.Threads = *options.threads;
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

    // Refused before anything is asked or run.
    if (model.lastStep() <= 0) {
        err << "error: no step was run: the last step is 0\n";
        return ExitFailed;
    }
    const char listSep = settings.ListSep;
    for (const auto& [path, kind] : {std::pair{options.saveAs, WrittenKind::Project},
                                     std::pair{options.report, WrittenKind::Report}}) {
        if (!path.empty() && !MayReplace(path, kind, listSep, prompter)) {
            err << "error: \"" << path << "\" was not replaced (--yes replaces it)\n";
            return ExitUsage;
        }
    }
    if (options.method) {
        TOutEvalSettings& eval = model.outEquations().evalSettings();
        eval.Reliability.Method = *options.method;
        if (eval.Mode == OutEvalMode::Inactive)
            err << "warning: --method has no effect: the out equations are inactive\n";
    }

    if (options.shard) {
        std::string settingsText;
        if (std::filesystem::exists(location.SettingsFile))
            if (const std::string problem = ReadWholeFile(location.SettingsFile, settingsText);
                !problem.empty()) {
                err << "error: " << problem << '\n';
                return ExitUsage;
            }
        return RunShard(model, observer, options, *projectText, settingsText, err);
    }

    int exitCode = 0;
    InterruptGuard interrupt(model);
    // The shards have had every question of the run answered already.
    if (merge) prompter.setAnswerYes(true);
    const ProjectModel::RunCommand started =
        merge ? model.RunWith(*merge->replay) : model.RunStop();
    prompter.setAnswerYes(options.yes);
    model.waitForRun();
    if (merge && !merge->replay->problem().empty()) {
        err << "error: " << merge->replay->problem() << '\n';
        return ExitUsage;
    }
    if (started != ProjectModel::RunCommand::Started) {
        err << "error: the run did not start\n";
        return ExitFailed;
    }
    const bool runInterrupted = interrupt.interrupted();
    interrupt.clear();
    if (runInterrupted) {
        err << "error: interrupted at step " << model.stepCounter() << '\n';
        exitCode = ExitFailed;
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
            if (outEq.usesReliability()) {
                for (const std::string& line :
                     ReliabilityLines(outEq.reliabilityResult(), settings.DecimalSep))
                    out << line << '\n';
            } else {
                out << EstimateLine(outEq.result().Estimate, settings.DecimalSep) << '\n';
            }
        }
    }
    if (options.sensitivity) PrintSensitivities(model, out, err);

    // A signal while the files are written ends the writing between two files.
    const auto interruptedWriting = [&] {
        if (!interrupt.interrupted()) return false;
        err << "error: interrupted while writing the files\n";
        return true;
    };
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
        saveOptions.interrupted = [&] { return interrupt.interrupted(); };
        ResultSetOptions set;
        if (runInterrupted)
            set.partialNote = "interrupted at step " + std::to_string(model.stepCounter()) +
                              " of " + std::to_string(model.lastStep());
        set.mayReplace = [&](const std::string& path) {
            return MayReplace(path, WrittenKind::Results, listSep, prompter);
        };
        switch (SaveResultSet(model.outputs(), settings, prompter, entries, saveOptions, set)) {
        case ResultSetOutcome::Written:
            break;
        case ResultSetOutcome::Interrupted:
            err << "error: interrupted while writing the results; " << options.resultsDir
                << " was left as it was\n";
            return ExitFailed;
        case ResultSetOutcome::Declined:
            err << "error: the results were not written (--yes replaces those files)\n";
            return ExitUsage;
        case ResultSetOutcome::Failed:
            return ExitUsage;
        }
    }
    if (!options.saveAs.empty()) {
        if (interruptedWriting()) return ExitFailed;
        if (!WriteProject(model, options.saveAs)) return ExitUsage;
    }
    if (!options.report.empty()) {
        if (interruptedWriting()) return ExitFailed;
        if (const std::string failure = writeReport(model, options.report); !failure.empty()) {
            prompter.error(failure);
            return ExitUsage;
        }
    }
    return exitCode;
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
    return RunBatch(options, nullptr, out, err, writeReport);
}

int RunMergedBatch(const MergedRun& run, std::ostream& out, std::ostream& err,
                   const ReportWriter& writeReport) {
    const TPartialHeader& header = *run.header;
    BatchOptions options;
    options.project = header.projectPath;
    options.steps = header.steps;
    options.seed = header.seed1;
    options.generator = GeneratorParallel;
    options.sensitivity = (header.flags & PartialSensitivity) != 0;
    options.resultsDir = run.resultsDir;
    options.saveAs = run.saveAs;
    options.report = run.report;
    options.yes = run.yes;
    if (!options.report.empty() && !writeReport) {
        err << "error: --report is not available in this program\n";
        return ExitUsage;
    }
    return RunBatch(options, &run, out, err, writeReport);
}

} // namespace probex
