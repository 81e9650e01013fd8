#pragma once

#include "simulation/OutEquations.h"
#include "simulation/ProbabilityEstimate.h"
#include "simulation/RunController.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace probex {

class TOutLog;
class TOutVarSet;
struct tBlockValues;
struct tDecodedEquations;

/// The stop rule of the out equations in Probability mode, asked by the run's worker. It
/// counts the condition over the steps logged since it was last asked with a copy of the
/// compiled out equations of its own, so that the main thread may go on using theirs; its
/// memory is taken when it is made, none while the run asks it.
class TStopRuleCheck : public RunStopRule {
public:
    /// `outSet` is compiled and validated against `run`: its RandomList refers to run-table
    /// entries with logs.
    TStopRuleCheck(const tDecodedEquations& outSet, std::uint8_t relation, const TOutVarSet& run,
                   const TOutEvalSettings& eval);
    ~TStopRuleCheck() override;

    bool met(std::int32_t step) override;

    /// The estimate that met the rule; nullopt while none has.
    const std::optional<TProbabilityEstimate>& metAt() const { return m_metAt; }

private:
    /// Adds the steps before `end` not yet counted; false after an evaluation error.
    bool countUpTo(std::int32_t end);
    void fillFromLogs(std::int32_t slot);

    std::unique_ptr<tDecodedEquations> m_set;
    std::unique_ptr<tBlockValues> m_block;
    std::vector<const TOutLog*> m_logs; ///< the log of each RandomList entry, in list order
    std::uint8_t m_relation;
    TOutEvalSettings m_eval;
    std::int32_t m_counted = 0;
    std::int64_t m_count = 0;
    bool m_failed = false; ///< the end-of-run evaluation reports the error
    std::optional<TProbabilityEstimate> m_metAt;
};

} // namespace probex
