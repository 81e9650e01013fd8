#pragma once

#include "simulation/OutLog.h"

#include <cstdint>
#include <string>
#include <vector>

namespace probex {

struct tDecodedEquations;

/// The value of one sampled input at every step of a run, for analyses that relate the
/// outputs to the inputs that produced them.
struct TInputLog {
    std::string name;
    std::int32_t varIndex = 0; ///< in the main set's variable table
    TOutLog log;
};

/// The logs of every sampled input of a run; kept only when something asks for them, so a
/// run without them costs what it always did.
class TInputLogs {
public:
    /// One log of `slots` slots for every input of the set's RandomList. False (and no
    /// logs) when the memory cannot be had.
    [[nodiscard]] bool allocate(const tDecodedEquations& set, std::int32_t slots);
    /// Enlarges every log to `slots`, keeping what is stored; false when memory ran out.
    [[nodiscard]] bool grow(std::int32_t slots) noexcept;
    void clear() noexcept { m_logs.clear(); }

    bool empty() const { return m_logs.empty(); }
    const std::vector<TInputLog>& logs() const { return m_logs; }
    /// The log of the input at `varIndex`, or nullptr.
    TOutLog* find(std::int32_t varIndex);

private:
    std::vector<TInputLog> m_logs;
};

/// The number of inputs a run would log for the set.
std::int64_t SampledInputCount(const tDecodedEquations& set);

} // namespace probex
