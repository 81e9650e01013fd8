#pragma once

#include "simulation/OutHis.h"
#include "simulation/OutLog.h"
#include "simulation/OutStat.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace probex {

/// One active output variable of a run: its table row, its index in the compiled set's
/// variable table and the accumulators its activity asks for (each may be absent).
struct TOutVar {
    std::int32_t Row = 0;
    std::int32_t VarIndex = 0; ///< 0 when the current equations do not compute the name
    std::unique_ptr<TOutStat> Stat;
    std::unique_ptr<TOutHis> His;
    std::unique_ptr<TOutLog> Log;
};

/// The run table: the active output variables in table row order, 1-based, with their
/// accumulators. Built when a fresh run is prepared, emptied when the results are discarded.
class TOutVarSet {
public:
    std::int32_t count() const { return static_cast<std::int32_t>(m_items.size()); }

    /// Entry i = 1..count().
    TOutVar& item(std::int32_t i) { return m_items[static_cast<std::size_t>(i - 1)]; }
    const TOutVar& item(std::int32_t i) const { return m_items[static_cast<std::size_t>(i - 1)]; }

    /// Position 1..count() of the entry for a table row, 0 when the row is not in the run.
    std::int32_t FindActiveIndex(std::int32_t row) const;

    /// Appends an entry without accumulators; may throw std::bad_alloc.
    TOutVar& append(std::int32_t row, std::int32_t varIndex);

    /// Frees every accumulator and empties the table.
    void clear() noexcept { m_items.clear(); }

    /// Enlarges every log to `lastStep` slots keeping every stored value, so that a stopped
    /// run can go on past the last step it was prepared for. Never called while the worker
    /// runs. False when memory ran out; the logs grown so far stay grown, the others as
    /// they were.
    [[nodiscard]] bool growLogs(std::int32_t lastStep) noexcept;

private:
    std::vector<TOutVar> m_items;
};

} // namespace probex
