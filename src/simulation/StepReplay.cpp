#include "simulation/StepReplay.h"

#include "simulation/HisCompute.h"
#include "simulation/OutHis.h"
#include "simulation/OutLog.h"
#include "simulation/OutStat.h"

namespace probex {

namespace {

constexpr std::int32_t StepLabelInterval = 1000;

/// The refreshes a run makes after `step`, in the run's order. True when the project's stop
/// rule ends the run there, as it would have ended one process.
bool Refresh(const TRunSetup& s, RunEvents& events, std::int32_t step) {
    if (step % StepLabelInterval == 0) events.showStep(step);
    if (step % s.refreshRateStat == 0) events.refreshStatistics(step);
    if (step % s.refreshRate1D == 0) events.refresh1D(step);
    if (step % s.refreshRatePQ == 0) events.refreshPQ(step);
    return s.stopRule && step % StopCheckInterval == 0 && s.stopRule->met(step);
}

void ComputeAll(const TRunSetup& s) {
    for (const TRunOutput& out : s.outputs) {
        if (out.stat) StatCompute(*out.stat, 2);
        if (out.his) HisCompute(*out.his, 3, true);
    }
}

} // namespace

RunOutcome TStepReplay::run(TRunSetup& s, RunEvents& events, TEquError& /*error*/) {
    const std::vector<std::int32_t> recorded = RecordedVariables(s);
    std::vector<Extended> values(recorded.size());
    tVars& vars = s.set->Vars;
    std::vector<std::string> names;
    for (const std::int32_t v : recorded)
        names.push_back(vars.Names[static_cast<std::size_t>(v)]);
    // Parts of this project with these settings record these variables, unless another
    // version of the program wrote them.
    if (!m_parts.empty() && m_parts.front()->header().variables != names) {
        m_problem = m_paths.front() + " records other variables than the project gathers";
        return RunOutcome::Stopped;
    }
    for (std::size_t p = 0; p < m_parts.size(); ++p) {
        TPartialReader& part = *m_parts[p];
        const TPartialHeader& h = part.header();
        for (std::int64_t step = h.firstStep; step <= h.lastStep; ++step) {
            if (m_stop.load(std::memory_order_relaxed)) {
                ComputeAll(s);
                return RunOutcome::Stopped;
            }
            if (!part.nextStep(values.data())) {
                m_problem = m_paths[p] + " is damaged: it ends before its last step";
                return RunOutcome::Stopped;
            }
            const std::int32_t slot = static_cast<std::int32_t>(step - 1);
            *s.stepCounter = slot + 1;
            for (std::size_t i = 0; i < recorded.size(); ++i)
                vars.Values[recorded[i]] = values[i];
            for (const auto* inputs : {&s.inputs, &s.correlated})
                for (const TRunInput& in : *inputs)
                    if (in.log) in.log->store(slot, vars.Values[in.varIndex]);
            for (const TRunOutput& out : s.outputs) {
                const Extended v = vars.Values[out.varIndex];
                if (out.stat) StatAdd(*out.stat, v);
                if (out.his) HisAdd(*out.his, v);
                if (out.log) out.log->store(slot, v);
            }
            // A run refreshes nothing after the two extreme steps of initial sampling.
            if (!(s.initialSampling && step <= 2) && Refresh(s, events, slot + 1)) {
                ComputeAll(s);
                return RunOutcome::Stopped;
            }
        }
        if (std::string problem = part.finish(); !problem.empty()) {
            m_problem = m_paths[p] + " " + problem;
            return RunOutcome::Stopped;
        }
    }
    ComputeAll(s);
    return RunOutcome::Finished;
}

} // namespace probex
