#include "simulation/RunTable.h"

namespace probex {

std::int32_t TOutVarSet::FindActiveIndex(std::int32_t row) const {
    for (std::int32_t i = 1; i <= count(); ++i)
        if (item(i).Row == row) return i;
    return 0;
}

TOutVar& TOutVarSet::append(std::int32_t row, std::int32_t varIndex) {
    TOutVar& entry = m_items.emplace_back();
    entry.Row = row;
    entry.VarIndex = varIndex;
    return entry;
}

bool TOutVarSet::growLogs(std::int32_t lastStep) noexcept {
    for (TOutVar& entry : m_items)
        if (entry.Log && !entry.Log->grow(lastStep)) return false;
    return true;
}

} // namespace probex
