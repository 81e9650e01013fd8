#include "simulation/ShardRunner.h"

#include "variables/Copula.h"
#include "variables/Distributions.h"
#include "variables/Random.h"

namespace probex {

RunOutcome TShardRunner::run(TRunSetup& s, RunEvents& /*events*/, TEquError& error) {
    const std::vector<std::int32_t> recorded = RecordedVariables(s);
    std::vector<Extended> values(recorded.size());
    tVars& vars = s.set->Vars;
    m_header.variables.clear();
    for (const std::int32_t v : recorded)
        m_header.variables.push_back(vars.Names[static_cast<std::size_t>(v)]);
    TPartialWriter writer;
    if (m_problem = writer.open(m_path, m_header); !m_problem.empty()) return RunOutcome::Stopped;
    for (std::int64_t step = m_header.firstStep; step <= m_header.lastStep; ++step) {
        if (m_stop.load(std::memory_order_relaxed)) return RunOutcome::Stopped;
        *s.stepCounter = static_cast<std::int32_t>(step);
        m_step = step;
        // Steps 1 and 2 of initial sampling take the extremes and no draw, as in a run.
        const bool lower = s.initialSampling && step == 1;
        const bool upper = s.initialSampling && step == 2;
        if (!lower && !upper) s.random->beginStep(step);
        for (const TRunInput& in : s.inputs)
            vars.Values[in.varIndex] = lower   ? LowerExtreme(*in.iis)
                                       : upper ? UpperExtreme(*in.iis, s.lastStep)
                                               : SampleValue(*in.iis, *s.random, step, &m_stop);
        if (s.copula) {
            const Extended* drawn = lower || upper ? nullptr : s.copula->draw(*s.random);
            for (std::size_t i = 0; i < s.correlated.size(); ++i) {
                const TRunInput& in = s.correlated[i];
                vars.Values[in.varIndex] = drawn   ? drawn[i]
                                           : lower ? LowerExtreme(*in.iis)
                                                   : UpperExtreme(*in.iis, s.lastStep);
            }
        }
        // A draw cut short by a stop request must not reach the equations.
        if (m_stop.load(std::memory_order_relaxed)) return RunOutcome::Stopped;
        if (EvaluateEquations(*s.set, error) != ecNone) return RunOutcome::Failed;
        for (std::size_t i = 0; i < recorded.size(); ++i)
            values[i] = vars.Values[recorded[i]];
        writer.addStep(values.data());
    }
    m_problem = writer.commit();
    return m_problem.empty() ? RunOutcome::Finished : RunOutcome::Stopped;
}

} // namespace probex
