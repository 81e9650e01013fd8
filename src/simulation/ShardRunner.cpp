#include "simulation/ShardRunner.h"

#include "engine/BlockEvaluator.h"
#include "variables/Copula.h"
#include "variables/Distributions.h"
#include "variables/Random.h"

#include <memory>
#include <new>

namespace probex {

namespace {

/// Draws the inputs of a step, as a run does, and hands each value to `put(varIndex, value)`.
template <typename Put>
void DrawStep(TRunSetup& s, std::int64_t step, const std::atomic<bool>& stop, const Put& put) {
    // Steps 1 and 2 of initial sampling take the extremes and no draw, as in a run.
    const bool lower = s.initialSampling && step == 1;
    const bool upper = s.initialSampling && step == 2;
    if (!lower && !upper) s.random->beginStep(step);
    for (const TRunInput& in : s.inputs)
        put(in.varIndex, lower   ? LowerExtreme(*in.iis)
                         : upper ? UpperExtreme(*in.iis, s.lastStep)
                                 : SampleValue(*in.iis, *s.random, step, &stop));
    if (!s.copula) return;
    const Extended* drawn = lower || upper ? nullptr : s.copula->draw(*s.random);
    for (std::size_t i = 0; i < s.correlated.size(); ++i) {
        const TRunInput& in = s.correlated[i];
        put(in.varIndex, drawn   ? drawn[i]
                         : lower ? LowerExtreme(*in.iis)
                                 : UpperExtreme(*in.iis, s.lastStep));
    }
}

} // namespace

RunOutcome TShardRunner::run(TRunSetup& s, RunEvents& /*events*/, TEquError& error) {
    const std::vector<std::int32_t> recorded = RecordedVariables(s);
    std::vector<Extended> values(recorded.size());
    tVars& vars = s.set->Vars;
    m_header.variables.clear();
    for (const std::int32_t v : recorded)
        m_header.variables.push_back(vars.Names[static_cast<std::size_t>(v)]);
    TPartialWriter writer;
    if (m_problem = writer.open(m_path, m_header); !m_problem.empty()) return RunOutcome::Stopped;
    // Several steps evaluated at once give the same bits; without the memory, one at a time.
    std::unique_ptr<tBlockValues> block(new (std::nothrow) tBlockValues);
    if (block) block->load(vars);
    std::int64_t step = m_header.firstStep;
    const std::int64_t last = m_header.lastStep;
    while (step <= last) {
        if (m_stop.load(std::memory_order_relaxed)) return RunOutcome::Stopped;
        m_step = step;
        if (block && step + BlockSteps - 1 <= last && !(s.initialSampling && step <= 2)) {
            for (int l = 0; l < BlockSteps; ++l)
                DrawStep(s, step + l, m_stop, [&](std::int32_t v, Extended value) {
                    block->Values[static_cast<std::size_t>(v)][l] = value;
                });
            if (m_stop.load(std::memory_order_relaxed)) return RunOutcome::Stopped;
            // A block that fails is run again step by step, which finds the failing step; the
            // generator draws a step's values again alike, as it is placed at each step.
            if (EvaluateEquationsBlock(*s.set, *block)) {
                for (int l = 0; l < BlockSteps; ++l) {
                    for (std::size_t i = 0; i < recorded.size(); ++i)
                        values[i] = block->Values[static_cast<std::size_t>(recorded[i])][l];
                    writer.addStep(values.data());
                }
                step += BlockSteps;
                continue;
            }
        }
        const std::int64_t end = std::min<std::int64_t>(last, block ? step + BlockSteps - 1 : step);
        for (; step <= end; ++step) {
            m_step = step;
            *s.stepCounter = static_cast<std::int32_t>(step);
            DrawStep(s, step, m_stop,
                     [&](std::int32_t v, Extended value) { vars.Values[v] = value; });
            // A draw cut short by a stop request must not reach the equations.
            if (m_stop.load(std::memory_order_relaxed)) return RunOutcome::Stopped;
            if (EvaluateEquations(*s.set, error) != ecNone) return RunOutcome::Failed;
            for (std::size_t i = 0; i < recorded.size(); ++i)
                values[i] = vars.Values[recorded[i]];
            writer.addStep(values.data());
        }
    }
    m_problem = writer.commit();
    return m_problem.empty() ? RunOutcome::Finished : RunOutcome::Stopped;
}

} // namespace probex
