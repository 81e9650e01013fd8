#include "simulation/RunController.h"

#include "settings/Settings.h"
#include "simulation/HisCompute.h"
#include "simulation/OutHis.h"
#include "simulation/OutLog.h"
#include "simulation/OutStat.h"
#include "variables/Copula.h"
#include "variables/Distributions.h"
#include "variables/Random.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>

namespace probex {

namespace {

constexpr std::int32_t StatusInterval = 100;
constexpr std::int32_t StepLabelInterval = 1000;

enum class Draw { Sample, Lower, Upper };

} // namespace

void ApplyRunSettings(TRunSetup& setup, const TSettings& settings) {
    setup.refreshRateStat = std::max(1, settings.RefreshRateStat);
    setup.refreshRate1D = std::max(1, settings.RefreshRate1D);
    setup.refreshRatePQ = std::max(1, settings.RefreshRatePQ);
    setup.initialSampling = settings.InitialSampling != 0;
    setup.threads = ThreadsInForce(settings.Threads);
}

std::int32_t ThreadsInForce(std::int32_t setting) {
    if (setting > 0) return setting;
    return static_cast<std::int32_t>(std::max(1u, std::thread::hardware_concurrency()));
}

TPxThread::TPxThread(TRunSetup setup, RunEvents& events, MainThread& mainThread)
    : m_setup(std::move(setup)), m_events(events), m_main(mainThread) {}

TPxThread::~TPxThread() {
    requestStop();
    wait();
}

void TPxThread::start() {
    m_thread = std::thread([this] { execute(); });
}

void TPxThread::wait() {
    if (m_thread.joinable()) m_thread.join();
}

bool TPxThread::needsStartup() const {
    for (const TRunOutput& out : m_setup.outputs) {
        if (out.stat && !out.stat->started) return true;
        if (out.his && !out.his->rangeSet) return true;
    }
    return false;
}

namespace {

enum class StepResult { Done, Failed, Abandoned };

/// Draws every random input and evaluates the equations. A step whose draw a stop request
/// cut short is abandoned before the equations see it.
inline StepResult SampleAndEvaluate(TRunSetup& s, Draw draw, const std::atomic<bool>& stop,
                                    TEquError& error) {
    tVars& vars = s.set->Vars;
    const std::int32_t step = *s.stepCounter;
    if (draw == Draw::Sample) s.random->beginStep(step);
    for (const TRunInput& in : s.inputs) {
        Extended v;
        switch (draw) {
        case Draw::Sample:
            v = SampleValue(*in.iis, *s.random, step, &stop);
            break;
        case Draw::Lower:
            v = LowerExtreme(*in.iis);
            break;
        default:
            v = UpperExtreme(*in.iis, s.lastStep);
            break;
        }
        vars.Values[in.varIndex] = v;
        if (in.log) in.log->store(step - 1, v); // a failed step's slot is written again
    }
    if (s.copula) {
        const Extended* drawn = draw == Draw::Sample ? s.copula->draw(*s.random) : nullptr;
        const std::size_t count = s.correlated.size();
        for (std::size_t i = 0; i < count; ++i) {
            const TRunInput& in = s.correlated[i];
            const Extended v = drawn                 ? drawn[i]
                               : draw == Draw::Lower ? LowerExtreme(*in.iis)
                                                     : UpperExtreme(*in.iis, s.lastStep);
            vars.Values[in.varIndex] = v;
            if (in.log) in.log->store(step - 1, v);
        }
    }
    // Only a stop request abandons a draw, so the inputs are looked at only then.
    if (stop.load(std::memory_order_relaxed))
        for (const TRunInput& in : s.inputs)
            if (std::isnan(vars.Values[in.varIndex])) return StepResult::Abandoned;
    return EvaluateEquations(*s.set, error) == ecNone ? StepResult::Done : StepResult::Failed;
}

/// Feeds every active output's value of the current step (value(varIndex)) into its
/// accumulators. Returns the index of the last output whose histogram has no range yet, or -1.
template <typename Value> inline int StoreOutputs(TRunSetup& s, const Value& value) {
    const std::int32_t slot = *s.stepCounter - 1;
    int pending = -1;
    const int count = static_cast<int>(s.outputs.size());
    for (int j = 0; j < count; ++j) {
        const TRunOutput& out = s.outputs[j];
        const Extended v = value(out.varIndex);
        if (out.stat) StatAdd(*out.stat, v);
        if (out.his && !HisAdd(*out.his, v)) pending = j;
        if (out.log) out.log->store(slot, v);
    }
    return pending;
}

inline int StoreOutputs(TRunSetup& s) {
    const tVars& vars = s.set->Vars;
    return StoreOutputs(s, [&vars](std::int32_t v) { return vars.Values[v]; });
}

} // namespace

TPxThread::Phase TPxThread::dropStep(bool failed) {
    // The counter goes back to the steps whose values every accumulator and log holds.
    --*m_setup.stepCounter;
    return failed ? Phase::Failed : Phase::Stopped;
}

bool TPxThread::replayStep(std::int32_t step) {
    const std::atomic<bool> noStop{false};
    *m_setup.stepCounter = step;
    if (SampleAndEvaluate(m_setup, Draw::Sample, noStop, m_error) == StepResult::Done) return true;
    dropStep(true);
    return false;
}

void TPxThread::scheduleRefreshes(std::int32_t step) {
    std::int64_t next = INT64_MAX;
    for (std::int64_t rate : {std::int32_t(StepLabelInterval), m_setup.refreshRateStat,
                              m_setup.refreshRate1D, m_setup.refreshRatePQ})
        next = std::min(next, (step / rate + 1) * rate);
    if (m_setup.stopRule)
        next = std::min<std::int64_t>(next, (step / StopCheckInterval + 1) * StopCheckInterval);
    m_nextRefresh = next;
}

void TPxThread::refresh(std::int32_t step) {
    // Most steps refresh nothing: one comparison instead of four divisions.
    if (step < m_nextRefresh) return;
    scheduleRefreshes(step);
    if (step % StepLabelInterval == 0) {
        m_unshownStep = step;
        if (m_events.refreshWanted(RefreshKind::Step)) {
            m_main.post([&events = m_events, step] { events.showStep(step); });
            m_unshownStep = 0;
        }
    }
    if (step % m_setup.refreshRateStat == 0 && m_events.refreshWanted(RefreshKind::Statistics))
        m_main.call([this, step] { m_events.refreshStatistics(step); });
    if (step % m_setup.refreshRate1D == 0 && m_events.refreshWanted(RefreshKind::OneD))
        m_main.call([this, step] { m_events.refresh1D(step); });
    if (step % m_setup.refreshRatePQ == 0) {
        if (m_events.refreshWanted(RefreshKind::Probability))
            m_main.call([this, step] { m_events.refreshPQ(step); });
        else
            m_main.post([&events = m_events, step] { events.countPQ(step); });
    }
    if (m_setup.stopRule && step % StopCheckInterval == 0 && m_setup.stopRule->met(step))
        requestStop();
}

TPxThread::Phase TPxThread::startupPhase() {
    std::int32_t& step = *m_setup.stepCounter;
    // The two extreme steps open a fresh run only, and only as far as the last step allows.
    if (m_setup.initialSampling && step == 0) {
        for (Draw draw : {Draw::Lower, Draw::Upper}) {
            if (step >= m_setup.lastStep) break;
            ++step;
            const StepResult r = SampleAndEvaluate(m_setup, draw, m_stop, m_error);
            if (r != StepResult::Done) return dropStep(r == StepResult::Failed);
            StoreOutputs(m_setup);
        }
    }
    int pending = -1;
    scheduleRefreshes(step);
    while (step < m_setup.lastStep) {
        ++step;
        const StepResult r = SampleAndEvaluate(m_setup, Draw::Sample, m_stop, m_error);
        if (r != StepResult::Done) {
            m_main.post([&events = m_events] { events.showStartupStatus(-1, 0); });
            return dropStep(r == StepResult::Failed);
        }
        pending = StoreOutputs(m_setup);
        if (step % StatusInterval == 0 && pending >= 0) {
            const Extended seen = m_setup.outputs[pending].his->rangeMin;
            m_main.post(
                [&events = m_events, pending, seen] { events.showStartupStatus(pending, seen); });
        }
        refresh(step);
        if (m_stop.load(std::memory_order_relaxed) || pending < 0) break;
    }
    m_main.post([&events = m_events] { events.showStartupStatus(-1, 0); });
    if (m_stop.load(std::memory_order_relaxed)) return Phase::Stopped;
    if (step >= m_setup.lastStep) return Phase::Finished;
    return Phase::Continue;
}

bool TPxThread::blockOfSteps() {
    TRunSetup& s = m_setup;
    tBlockValues& block = *m_block;
    const TRandom before = *s.random;
    const std::int32_t first = *s.stepCounter + 1;
    // Draws in the order of a plain run: every input of one step before the next step. A stop
    // request may cut a draw short, which a plain run does only in its last step: the block
    // gives way at once, so that the stop is not delayed by the draws of later steps.
    for (int l = 0; l < BlockSteps; ++l) {
        s.random->beginStep(first + l);
        for (const TRunInput& in : s.inputs) {
            const Extended v = SampleValue(*in.iis, *s.random, first + l, &m_stop);
            block.Values[static_cast<std::size_t>(in.varIndex)][l] = v;
            if (in.log) in.log->store(first - 1 + l, v);
        }
        if (s.copula) {
            const Extended* drawn = s.copula->draw(*s.random);
            const std::size_t count = s.correlated.size();
            for (std::size_t i = 0; i < count; ++i) {
                const TRunInput& in = s.correlated[i];
                block.Values[static_cast<std::size_t>(in.varIndex)][l] = drawn[i];
                if (in.log) in.log->store(first - 1 + l, drawn[i]);
            }
        }
        if (m_stop.load(std::memory_order_relaxed)) {
            *s.random = before;
            return false;
        }
    }
    if (!EvaluateEquationsBlock(*s.set, block)) {
        *s.random = before;
        return false;
    }
    // Output by output, each accumulator taking the steps in their order: the same values
    // as step by step, with each accumulator's sums kept in registers through the block.
    for (const TRunOutput& out : s.outputs) {
        const Extended* values = block.Values[static_cast<std::size_t>(out.varIndex)].data();
        if (out.stat) StatAddValues(*out.stat, values, BlockSteps);
        if (out.his) HisAddValues(*out.his, values, BlockSteps);
        if (out.log)
            for (int l = 0; l < BlockSteps; ++l)
                out.log->store(first - 1 + l, values[l]);
    }
    *s.stepCounter = first + BlockSteps - 1;
    block.storeStep(BlockSteps - 1, s.set->Vars);
    return true;
}

TPxThread::Phase TPxThread::mainPhase() {
    std::int32_t& step = *m_setup.stepCounter;
    scheduleRefreshes(step);
    if (m_setup.threads > 1 && m_setup.random->parallel()) {
        Phase phase = Phase::Finished;
        if (threadedPhase(phase)) return phase;
    }
    // Without the memory for a block, every step simply runs alone.
    if (m_setup.interleaved && !m_block) m_block.reset(new (std::nothrow) tBlockValues);
    if (m_block) m_block->load(m_setup.set->Vars);
    int stepsAlone = 0; // steps to run one by one after a block that could not complete
    while (step < m_setup.lastStep) {
        // Blocks end at the next refresh at the latest, so every refresh sees what it would
        // see after that step of a plain run.
        if (m_block && stepsAlone == 0 &&
            std::int64_t{step} + BlockSteps <=
                std::min<std::int64_t>(m_nextRefresh, m_setup.lastStep)) {
            if (blockOfSteps()) {
                refresh(step);
                if (m_stop.load(std::memory_order_relaxed)) return Phase::Stopped;
                continue;
            }
            stepsAlone = BlockSteps;
        }
        if (stepsAlone > 0) --stepsAlone;
        ++step;
        const StepResult r = SampleAndEvaluate(m_setup, Draw::Sample, m_stop, m_error);
        if (r != StepResult::Done) return dropStep(r == StepResult::Failed);
        StoreOutputs(m_setup);
        refresh(step);
        if (m_stop.load(std::memory_order_relaxed)) return Phase::Stopped;
    }
    return Phase::Finished;
}

void TPxThread::computeAll() {
    for (const TRunOutput& out : m_setup.outputs) {
        if (out.stat) StatCompute(*out.stat, 2);
        if (out.his) HisCompute(*out.his, 3, true);
    }
}

void TPxThread::execute() {
    if (*m_setup.stepCounter >= m_setup.lastStep) {
        m_main.call([this] { m_events.runEnded(RunOutcome::NoStep, m_error); });
        return;
    }
    Phase phase = needsStartup() ? startupPhase() : Phase::Continue;
    if (phase == Phase::Continue) phase = mainPhase();

    // The label ends on the last multiple it reached, as if every one had been shown.
    if (m_unshownStep > 0)
        m_main.post([&events = m_events, step = m_unshownStep] { events.showStep(step); });
    RunOutcome outcome = RunOutcome::Failed;
    if (phase == Phase::Finished || phase == Phase::Stopped) {
        computeAll();
        outcome = phase == Phase::Finished ? RunOutcome::Finished : RunOutcome::Stopped;
    }
    m_main.call([this, outcome] { m_events.runEnded(outcome, m_error); });
}

} // namespace probex
