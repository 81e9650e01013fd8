#include "variables/Correlations.h"

#include "engine/Expression.h"

#include <algorithm>

namespace probex {

bool TCorrelation::joins(std::string_view a, std::string_view b) const {
    return (SameName(name1, a) && SameName(name2, b)) || (SameName(name1, b) && SameName(name2, a));
}

const TCorrelation* TCorrelations::find(std::string_view a, std::string_view b) const {
    for (const TCorrelation& pair : m_pairs)
        if (pair.joins(a, b)) return &pair;
    return nullptr;
}

Extended TCorrelations::value(std::string_view a, std::string_view b) const {
    const TCorrelation* pair = find(a, b);
    return pair ? pair->value : 0;
}

void TCorrelations::set(std::string_view a, std::string_view b, Extended value) {
    const auto it = std::find_if(m_pairs.begin(), m_pairs.end(),
                                 [&](const TCorrelation& pair) { return pair.joins(a, b); });
    if (value == 0) {
        if (it != m_pairs.end()) m_pairs.erase(it);
    } else if (it != m_pairs.end()) {
        it->value = value;
    } else {
        m_pairs.push_back({std::string(a), std::string(b), value});
    }
}

void TCorrelations::removeVariable(std::string_view name) {
    std::erase_if(m_pairs, [name](const TCorrelation& pair) {
        return SameName(pair.name1, name) || SameName(pair.name2, name);
    });
}

} // namespace probex
