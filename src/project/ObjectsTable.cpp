#include "project/ObjectsTable.h"

#include "engine/Expression.h"

namespace probex {

int TObjectsTable::FindObjectsRec(std::string_view horizontal, std::string_view vertical) const {
    if (horizontal.empty() || vertical.empty() || SameName(horizontal, vertical)) return -1;
    for (std::size_t i = 0; i < m_records.size(); ++i)
        if (SameName(m_records[i].Horizontal, horizontal) &&
            SameName(m_records[i].Vertical, vertical))
            return static_cast<int>(i) + 1;
    return 0;
}

int TObjectsTable::ObtainObjectsRec(std::string_view horizontal, std::string_view vertical) {
    const int index = FindObjectsRec(horizontal, vertical);
    if (index != 0 || count() >= MaxRecords) return index;
    ObjectsRec added;
    added.Horizontal = horizontal;
    added.Vertical = vertical;
    m_records.push_back(std::move(added));
    return count();
}

} // namespace probex
