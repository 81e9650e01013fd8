#pragma once

#include "simulation/RunController.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace probex {

/// Runs the steps of a prepared run otherwise than the worker does, on the calling thread:
/// a shard that records its steps' values, or the replay of recorded values into the run's
/// accumulators.
class TStepRunner {
public:
    virtual ~TStepRunner() = default;
    /// True when the run fills the accumulators and logs as a run does; false when it only
    /// records values (the run's logs then have no slots and the run leaves no results).
    virtual bool gathers() const = 0;
    /// Runs from the setup's step counter on; a Failed outcome fills `error` as a run does.
    virtual RunOutcome run(TRunSetup& setup, RunEvents& events, TEquError& error) = 0;
    /// Asks the run to stop; safe from any thread.
    void requestStop() { m_stop.store(true, std::memory_order_relaxed); }

protected:
    std::atomic<bool> m_stop{false};
};

/// The variables whose values a step must record so that a replay gathers what the run
/// gathers: every output that has an accumulator or a log, in the run's order, then every
/// logged input, the plain ones before the correlated ones.
std::vector<std::int32_t> RecordedVariables(const TRunSetup& setup);

} // namespace probex
