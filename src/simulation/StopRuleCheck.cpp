#include "simulation/StopRuleCheck.h"

#include "engine/BlockEvaluator.h"
#include "engine/EquationSet.h"
#include "simulation/OutLog.h"
#include "simulation/OutputTable.h"

#include <algorithm>
#include <new>

namespace probex {

TStopRuleCheck::TStopRuleCheck(const tDecodedEquations& outSet, std::uint8_t relation,
                               const TOutVarSet& run, const TOutEvalSettings& eval)
    : m_set(std::make_unique<tDecodedEquations>(outSet)), m_block(new (std::nothrow) tBlockValues),
      m_relation(relation), m_eval(eval) {
    for (std::int32_t k = 1; k <= m_set->RandomList.Count; ++k) {
        const std::int32_t i = m_set->RandomList.Ref[static_cast<std::size_t>(k)];
        const TOutLog* log = i >= 1 && i <= run.count() ? run.item(i).Log.get() : nullptr;
        if (!log) m_failed = true; // not validated: the rule cannot be counted
        m_logs.push_back(log);
    }
    if (m_block) m_block->load(m_set->Vars);
}

TStopRuleCheck::~TStopRuleCheck() = default;

void TStopRuleCheck::fillFromLogs(std::int32_t slot) {
    for (std::size_t k = 0; k < m_logs.size(); ++k)
        m_set->Vars.Values[static_cast<std::size_t>(m_set->RandomList.VarIndex[k + 1])] =
            (*m_logs[k])[slot];
}

bool TStopRuleCheck::countUpTo(std::int32_t end) {
    for (const TOutLog* log : m_logs)
        end = std::min(end, log->size());
    const auto condition = static_cast<std::size_t>(m_set->ResultVar[1]);
    TEquError error;
    while (m_counted < end) {
        const std::int32_t first = m_counted;
        bool counted = false;
        if (m_block && first + BlockSteps <= end) {
            for (std::size_t k = 0; k < m_logs.size(); ++k) {
                tLanes& lanes =
                    m_block->Values[static_cast<std::size_t>(m_set->RandomList.VarIndex[k + 1])];
                for (int l = 0; l < BlockSteps; ++l)
                    lanes[static_cast<std::size_t>(l)] = (*m_logs[k])[first + l];
            }
            counted = EvaluateEquationsBlock(*m_set, *m_block);
            if (counted) {
                for (const Extended v : m_block->Values[condition])
                    m_count += ConditionHolds(m_relation, v);
                m_counted += BlockSteps;
            }
        }
        // A block that cannot be settled at once is taken step by step, which finds an error.
        const std::int32_t stepsAlone = counted ? 0 : std::min(BlockSteps, end - first);
        for (std::int32_t s = first; s < first + stepsAlone; ++s) {
            fillFromLogs(s);
            if (EvaluateEquations(*m_set, error) != 0) return false;
            m_count += ConditionHolds(m_relation, m_set->Vars.Values[condition]);
            ++m_counted;
        }
    }
    return true;
}

bool TStopRuleCheck::met(std::int32_t step) {
    if (m_metAt) return true;
    // Before the minimum number of steps the rule cannot hold: counting waits until then.
    if (m_failed || step < m_eval.MinSteps) return false;
    if (!countUpTo(step)) {
        m_failed = true;
        return false;
    }
    const TProbabilityEstimate estimate = EstimateProbability(m_count, m_counted);
    if (!StopRuleMet(m_eval, estimate)) return false;
    m_metAt = estimate;
    return true;
}

} // namespace probex
