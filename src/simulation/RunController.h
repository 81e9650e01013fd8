#pragma once

#include "engine/BlockEvaluator.h"
#include "engine/EquationSet.h"
#include "engine/Extended.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace probex {

struct TIis;
struct TOutStat;
struct TOutHis;
struct TSettings;
class TOutLog;
class TCopula;
class TRandom;

/// A random input of the run: where its value goes and the record it is drawn from.
struct TRunInput {
    std::int32_t varIndex = 0;
    const TIis* iis = nullptr;
    TOutLog* log = nullptr; ///< keeps the value of every step when present
};

/// An active output of the run: the variable it reads and its accumulators (each optional).
struct TRunOutput {
    std::int32_t varIndex = 0;
    TOutStat* stat = nullptr;
    TOutHis* his = nullptr;
    TOutLog* log = nullptr;
};

enum class RunOutcome {
    NoStep,   ///< the step counter had already reached the last step
    Finished, ///< the last step was reached
    Stopped,  ///< a stop request was honoured
    Failed,   ///< an equation failed; the error record says which
};

/// The periodic hand-overs that the main thread may decline while it would show nothing new.
enum class RefreshKind { Step, Statistics, OneD, Probability };

/// What the worker hands to the main thread. Each call is made through the run's
/// `MainThread` and so runs on the main thread while the worker waits, except
/// `refreshWanted`.
class RunEvents {
public:
    virtual ~RunEvents() = default;
    /// Asked on the worker's thread before a periodic hand-over of the kind: false when the
    /// main thread would drop it now (its windows show a few refreshes a second), which spares
    /// the worker the wait. Must be safe to call from any thread.
    virtual bool refreshWanted(RefreshKind /*kind*/) { return true; }
    /// The step counter reached a multiple of 1000.
    virtual void showStep(std::int32_t step) = 0;
    /// The start-up status: an output whose histogram has no range yet, with the one value
    /// it has seen (output is an index into the run's outputs); output -1 clears the text.
    virtual void showStartupStatus(int output, Extended value) = 0;
    /// The periodic refreshes of the result windows.
    virtual void refreshStatistics(std::int32_t step) = 0;
    virtual void refresh1D(std::int32_t step) = 0;
    virtual void refreshPQ(std::int32_t step) = 0;
    /// A probability refresh the main thread declined: only what reads the log slots up to
    /// the step (the live probability count), posted so that the worker does not wait.
    virtual void countPQ(std::int32_t /*step*/) {}
    /// The run has ended; for Finished and Stopped every accumulator is computed in full.
    virtual void runEnded(RunOutcome outcome, const TEquError& error) = 0;
};

/// Runs a procedure on the main thread and returns when it is done.
class MainThread {
public:
    virtual ~MainThread() = default;
    virtual void call(const std::function<void()>& procedure) = 0;
    /// Runs the procedure on the main thread after what was handed over before it, without
    /// waiting for it; at once where calls run at once.
    virtual void post(std::function<void()> procedure) { call(procedure); }
};

/// Calls the procedure at once: for runs whose starter just waits for the worker.
class DirectCall : public MainThread {
public:
    void call(const std::function<void()>& procedure) override { procedure(); }
};

/// A rule that may end a run before its last step. The worker asks it itself, not through the
/// main thread, at every multiple of StopCheckInterval steps, so that where a run ends does
/// not depend on how often the windows are refreshed.
class RunStopRule {
public:
    virtual ~RunStopRule() = default;
    /// True when the run should end after `step`; every step up to it is logged.
    virtual bool met(std::int32_t step) = 0;
};

/// Steps between two questions to the stop rule: one block of steps.
inline constexpr std::int32_t StopCheckInterval = BlockSteps;

/// Everything a run reads and writes; owned by the caller and left alone by it while the
/// worker runs.
struct TRunSetup {
    tDecodedEquations* set = nullptr;
    std::vector<TRunInput> inputs;
    /// The correlated inputs, drawn through `copula` after the others in every step, in the
    /// copula's member order; empty (and no copula) when the run has no correlations.
    std::vector<TRunInput> correlated;
    TCopula* copula = nullptr;
    std::vector<TRunOutput> outputs;
    TRandom* random = nullptr;
    std::int32_t* stepCounter = nullptr;
    std::int32_t lastStep = 0;
    std::int32_t refreshRateStat = 1000;
    std::int32_t refreshRate1D = 1000;
    std::int32_t refreshRatePQ = 10000;
    bool initialSampling = false;
    /// Evaluates the main phase several steps at a time (BlockSteps) between refreshes, with
    /// the same values, draws and outcome as step by step; off, every step runs alone.
    bool interleaved = true;
    /// Asked by the worker while it runs; nullptr for a run that goes to its last step.
    RunStopRule* stopRule = nullptr;
    /// Threads that evaluate the main phase when the generator is "Parallel", whose steps can
    /// be drawn in any order; the accumulators still see them in step order, so the results do
    /// not depend on it. 1: the worker alone, step after step.
    std::int32_t threads = 1;
};

/// The threads of the setting `Threads`: 0 is every core of the machine.
std::int32_t ThreadsInForce(std::int32_t setting);

/// Takes the run's settings from the settings in force.
void ApplyRunSettings(TRunSetup& setup, const TSettings& settings);

/// The worker of a simulation run: a start-up phase until every output has started, the main
/// phase, and the end with the full computation of the accumulators.
class TPxThread {
public:
    TPxThread(TRunSetup setup, RunEvents& events, MainThread& mainThread);
    ~TPxThread();
    TPxThread(const TPxThread&) = delete;
    TPxThread& operator=(const TPxThread&) = delete;

    /// Starts the worker thread.
    void start();
    /// Runs the worker on the calling thread (for callers that would only wait).
    void execute();
    /// Asks the worker to stop after the step in progress.
    void requestStop() { m_stop.store(true, std::memory_order_relaxed); }
    /// Waits for the worker thread to end.
    void wait();

    const TEquError& error() const { return m_error; }

private:
    enum class Phase { Continue, Finished, Stopped, Failed };

    bool needsStartup() const;
    /// Ends the phase at a step that failed or was abandoned; the step leaves no trace.
    Phase dropStep(bool failed);
    Phase startupPhase();
    /// Runs the next BlockSteps steps at once. False, with the generator as it was, when a
    /// step fails or a stop request came while drawing: the caller then runs those steps
    /// one by one, which ends where and as a plain run ends.
    bool blockOfSteps();
    Phase mainPhase();
    /// Works out the first step after `step` that refreshes anything.
    void scheduleRefreshes(std::int32_t step);
    void refresh(std::int32_t step);
    void computeAll();

    // The main phase on a pool of threads (ThreadedPhase.cpp).
    struct Pool;
    struct Chunk;
    struct StepWorker;
    /// False, before any step, when the pool's memory or threads cannot be had.
    bool threadedPhase(Phase& phase);
    void poolThread(Pool& pool, StepWorker& worker);
    void evaluateChunk(const Pool& pool, Chunk& chunk, StepWorker& worker);
    /// Feeds the chunk's steps to the accumulators with the refreshes of a plain run; false
    /// when the run ends in it (pool.outcome says how).
    bool feedChunk(Pool& pool, const Chunk& chunk);
    /// Runs `step` again on the run's own equations and generator, which then hold what a
    /// plain run leaves there; false, with the step counter before it, when the step fails.
    bool replayStep(std::int32_t step);

    TRunSetup m_setup;
    RunEvents& m_events;
    MainThread& m_main;
    std::atomic<bool> m_stop{false};
    std::int64_t m_nextRefresh = 0;
    std::int32_t m_unshownStep = 0; // a step label the main thread declined, shown at the end
    TEquError m_error;
    std::unique_ptr<tBlockValues> m_block; // the variable values of a block's steps
    std::thread m_thread;
};

} // namespace probex
