#include "simulation/InputLogs.h"

#include "engine/EquationSet.h"

#include <new>

namespace probex {

bool TInputLogs::allocate(const tDecodedEquations& set, std::int32_t slots) {
    m_logs.clear();
    try {
        m_logs.resize(static_cast<std::size_t>(set.RandomList.Count));
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int i = 1; i <= set.RandomList.Count; ++i) {
        TInputLog& entry = m_logs[static_cast<std::size_t>(i - 1)];
        entry.varIndex = set.RandomList.VarIndex[i];
        entry.name = set.Vars.Names[static_cast<std::size_t>(entry.varIndex)];
        if (!entry.log.allocate(slots)) {
            m_logs.clear();
            return false;
        }
    }
    return true;
}

bool TInputLogs::grow(std::int32_t slots) noexcept {
    for (TInputLog& entry : m_logs)
        if (!entry.log.grow(slots)) return false;
    return true;
}

TOutLog* TInputLogs::find(std::int32_t varIndex) {
    for (TInputLog& entry : m_logs)
        if (entry.varIndex == varIndex) return &entry.log;
    return nullptr;
}

std::int64_t SampledInputCount(const tDecodedEquations& set) {
    return set.RandomList.Count;
}

} // namespace probex
