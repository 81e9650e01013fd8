#pragma once

#include "engine/EquationSet.h"
#include "project/ProjectDocument.h"
#include "reliability/LimitState.h"
#include "simulation/OutEquations.h"
#include "simulation/OutputTable.h"
#include "simulation/RunController.h"
#include "simulation/StepRunner.h"
#include "simulation/StopRuleCheck.h"
#include "variables/Copula.h"
#include "variables/InputTable.h"
#include "variables/Random.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace probex {

class Prompter;
struct TSettings;

/// What the windows do with the model's events. Every call is made on the main thread.
class ModelObserver {
public:
    virtual ~ModelObserver() = default;
    /// Restore and raise the equations (or out-equations) window, put the caret on line
    /// error.Line just after character error.Pos, show the message in its status bar and the
    /// popup "Equations error" (or "Out equations error").
    virtual void showEquationError(const TEquError& /*error*/, bool /*outEquations*/) {}
    virtual void clearEquationStatus(bool /*outEquations*/) {}
    /// Restore and raise the input variable window with the row selected.
    virtual void showInputRow(int /*row*/) {}
    virtual void runningChanged(bool /*running*/) {}
    /// The finished-steps label.
    virtual void showStep(std::int32_t /*step*/) {}
    /// The run status panel of the main window.
    virtual void showStatus(const std::string& /*text*/) {}
    virtual void refillVariableBoxes(int /*mode*/) {}
    virtual void refreshStatistics(std::int32_t /*step*/) {}
    virtual void refresh1D(std::int32_t /*step*/) {}
    virtual void refreshPQ(std::int32_t /*step*/) {}
    /// Whether a periodic refresh of the kind would show anything now. The one call made on
    /// the run's worker thread, so it must be safe there.
    virtual bool refreshWanted(RefreshKind /*kind*/) { return true; }
    /// The refreshes at the end of a stopped or finished run.
    virtual void finalRefresh() {}
    /// Results appeared (Reset enabled) or were discarded (result windows cleared).
    virtual void resultsChanged(bool /*exist*/) {}
    virtual void runEnded(RunOutcome /*outcome*/) {}
    /// The Evaluate command computed a probability: pictures coloured by the condition follow.
    virtual void outEquationsEvaluated() {}
};

/// The project and the commands that act on it: the model texts and tables, the compiled
/// sets, the run state, and Compile, Run/Stop, Reset and Evaluate.
class ProjectModel : public ProjectDocument, private RunEvents {
public:
    static constexpr std::int32_t MaxLastStep = 999999999;

    /// mainThread runs the worker's hand-overs; DirectCall where the caller only waits.
    ProjectModel(TSettings& settings, Prompter& prompter, MainThread& mainThread);
    ~ProjectModel() override;
    ProjectModel(const ProjectModel&) = delete;
    ProjectModel& operator=(const ProjectModel&) = delete;

    void setObserver(ModelObserver* observer);

    TSettings& settings() override { return m_settings; }
    Prompter& prompter() override { return m_prompter; }
    TInputTable& inputs() override { return m_inputs; }
    TOutputTable& outputs() override { return m_outputs; }
    TOutEquations& outEquations() override { return m_outEquations; }
    tDecodedEquations& mainSet() { return *m_mainSet; }
    tDecodedEquations& outSet() { return *m_outSet; }
    const tEquRecs& mainRecs() const { return *m_mainRecs; }
    TRandom& random() { return m_random; }

    /// The "Auto" seed box: not stored, on at every start.
    bool autoSeed = true;
    /// Runs evaluate several steps at a time (same results); off for comparisons.
    bool interleavedRuns = true;

    std::int32_t stepCounter() const { return m_stepCounter; }
    std::int32_t lastStep() const override { return m_lastStep; }
    /// A change of the step count: clamped to 0..999999999; discards the results.
    void setLastStep(std::int64_t steps) override;
    bool resultsExist() const { return m_resultsExist; }
    /// Why the stop rule ended the last run ("Stopped at step ..."); empty when it did not.
    const std::string& stopRuleReason() const { return m_stopRuleReason; }
    bool running() const { return m_running; }

    /// Parses and compiles the equations and out equations and reconciles both tables.
    bool CompileModel();
    /// The Compile command: Reset, then CompileModel.
    bool Compile();

    enum class RunCommand { Started, StopRequested, Declined, Failed };
    /// The Run/Stop command.
    RunCommand RunStop();
    /// Run prepared as RunStop prepares a fresh one, whose steps `runner` runs on the calling
    /// thread instead of the worker (a shard of the run, or the merge of the shards' values).
    RunCommand RunWith(TStepRunner& runner);
    /// Waits until the worker has ended; for callers whose hand-overs are direct calls.
    void waitForRun();
    /// Asks a running worker to stop.
    void requestStop();

    /// The Reset command.
    void Reset();
    /// Discards the results; false when there were none. During a run the discard waits for
    /// the run's end, so the worker never loses what it uses.
    bool InvalidateResults() override;
    /// The Evaluate command of the out equations. With a method other than Monte Carlo the
    /// evaluation needs no run: it starts on a worker thread (running() until it ends) and
    /// is stopped as a run is; true when it started.
    bool Evaluate();
    /// New: empties the texts and both tables and discards the results.
    void clearProject() override;

private:
    /// Every sampled input's parameters pass their check, and a draw that may take
    /// practically forever runs only when the person says so (`drawing`: the methods that set
    /// inputs through their distribution functions draw nothing). False: the run must not
    /// start.
    bool checkSampledInputs(bool drawing = true);
    /// Builds the copula of the correlated inputs; a matrix that is not positive definite
    /// runs on the nearest valid one only when the person says so. False: no run.
    bool prepareCorrelations();
    /// Asks before a "Simple" run whose draws can pass the generator's period.
    bool confirmGeneratorPeriod(bool parallel);
    bool prepareRun();
    void startWorker();
    void runSteps(TStepRunner& runner, TRunSetup& setup);
    void discardResults();
    /// Starts the evaluation with a method other than Monte Carlo on a worker thread.
    bool startReliabilityEvaluation();
    void reliabilityEvaluationEnded(bool evaluated);
    void joinEvaluator();

    // RunEvents: the worker's hand-overs.
    void showStep(std::int32_t step) override;
    void showStartupStatus(int output, Extended value) override;
    void refreshStatistics(std::int32_t step) override;
    void refresh1D(std::int32_t step) override;
    void refreshPQ(std::int32_t step) override;
    void countPQ(std::int32_t step) override;
    bool refreshWanted(RefreshKind kind) override;
    void runEnded(RunOutcome outcome, const TEquError& error) override;
    /// The live probability count of the refreshes handed over so far, in their order.
    void countDueSteps();

    TSettings& m_settings;
    Prompter& m_prompter;
    MainThread& m_mainThread;
    ModelObserver m_noObserver;
    ModelObserver* m_observer = &m_noObserver;

    std::unique_ptr<tEquRecs> m_mainRecs;
    std::unique_ptr<tEquRecs> m_outRecs;
    std::unique_ptr<tDecodedEquations> m_mainSet;
    std::unique_ptr<tDecodedEquations> m_outSet;
    TInputTable m_inputs;
    TOutputTable m_outputs;
    TOutEquations m_outEquations;
    TRandom m_random;
    TCopula m_copula; ///< kept with the results, so that a continued run draws alike
    std::vector<int> m_correlatedPositions; ///< random-list positions of the copula's members

    std::int32_t m_stepCounter = 0;
    std::int32_t m_lastStep = 1000;
    bool m_resultsExist = false;
    bool m_running = false;      ///< from the Run command until the worker's end
    bool m_workerActive = false; ///< the worker owns the accumulators
    bool m_discardAfterRun = false;
    std::string m_stopRuleReason;
    std::vector<std::int32_t> m_runRows;        ///< output table row of each output of the worker
    std::unique_ptr<TStopRuleCheck> m_stopRule; ///< the worker's, so it outlives the worker
    std::unique_ptr<TPxThread> m_worker;
    std::atomic<TStepRunner*> m_runner{nullptr}; ///< runs the steps instead of the worker
    TLimitState m_limitState;
    std::atomic<bool> m_stopEvaluation{false};
    std::thread m_evaluator; // an evaluation with a method other than Monte Carlo
    /// Probability refreshes whose live count is still to come: it is posted to the main
    /// thread, so that the worker need not wait for it.
    std::vector<std::int32_t> m_countsDue;
    /// Expires with the model, so that a count posted before its end finds nothing to do.
    std::shared_ptr<char> m_alive = std::make_shared<char>();
};

} // namespace probex
