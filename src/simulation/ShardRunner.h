#pragma once

#include "simulation/PartialResult.h"
#include "simulation/StepRunner.h"

#include <string>

namespace probex {

/// Runs one shard's range of steps (header.firstStep..lastStep) as a one-process run draws
/// and evaluates them (the "Parallel" generator placed at each step, the extreme steps 1 and
/// 2 of initial sampling) and writes the recorded variables' values of every step to a
/// partial result at `path`, which appears only when every step is done.
class TShardRunner : public TStepRunner {
public:
    TShardRunner(TPartialHeader header, std::string path)
        : m_header(std::move(header)), m_path(std::move(path)) {}

    bool gathers() const override { return false; }
    RunOutcome run(TRunSetup& setup, RunEvents& events, TEquError& error) override;

    /// Why the partial result could not be written; empty when it was or a step failed.
    const std::string& problem() const { return m_problem; }
    /// The step that failed or was under way when the shard stopped.
    std::int64_t stepReached() const { return m_step; }

private:
    TPartialHeader m_header;
    std::string m_path;
    std::string m_problem;
    std::int64_t m_step = 0;
};

} // namespace probex
