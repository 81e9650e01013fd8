#pragma once

#include "simulation/PartialResult.h"
#include "simulation/StepRunner.h"

#include <string>
#include <vector>

namespace probex {

/// Replays the values recorded by the shards of a run, in step order, through what a run
/// does with each step: the accumulators, histograms and logs, and the refreshes at the
/// same steps (the probability's live count among them). The parts must be open, in step
/// order and cover the run's steps once.
class TStepReplay : public TStepRunner {
public:
    TStepReplay(std::vector<TPartialReader*> parts, std::vector<std::string> paths)
        : m_parts(std::move(parts)), m_paths(std::move(paths)) {}

    bool gathers() const override { return true; }
    RunOutcome run(TRunSetup& setup, RunEvents& events, TEquError& error) override;

    /// Why the replay stopped short ("FILE is damaged: ..."); empty when it did not.
    const std::string& problem() const { return m_problem; }

private:
    std::vector<TPartialReader*> m_parts;
    std::vector<std::string> m_paths;
    std::string m_problem;
};

} // namespace probex
