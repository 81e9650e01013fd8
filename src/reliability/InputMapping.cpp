#include "reliability/InputMapping.h"

#include "reliability/StandardNormal.h"
#include "variables/DistributionFunctions.h"

#include <cmath>
#include <limits>

namespace probex {

void TInputMapping::prepare() {
    std::vector<const TIis*> records;
    for (const TMappedInput& input : m_inputs)
        records.push_back(input.iis);
    const int n = static_cast<int>(records.size());
    m_marginals.prepare(std::move(records), TSquareMatrix::Identity(n));
}

void TInputMapping::correlate(std::vector<int> members, TSquareMatrix lower) {
    m_members = std::move(members);
    m_lower = std::move(lower);
}

void TInputMapping::toInputs(const Extended* u, Extended* x) const {
    // Far out (|u| > 9) Φ(u) rounds to 1; the nearest probability inside (0, 1) stands in.
    constexpr Extended Tiny = std::numeric_limits<Extended>::min();
    const Extended belowOne = std::nextafter(Extended{1}, Extended{0});
    // x holds z first: u itself, then L·u over the correlated members.
    for (std::size_t i = 0; i < m_inputs.size(); ++i)
        x[i] = u[i];
    for (std::size_t i = 0; i < m_members.size(); ++i) {
        Extended z = 0;
        for (std::size_t j = 0; j <= i; ++j)
            z += m_lower(static_cast<int>(i), static_cast<int>(j)) *
                 u[static_cast<std::size_t>(m_members[j])];
        x[static_cast<std::size_t>(m_members[i])] = z;
    }
    if (m_marginals.size() == static_cast<int>(m_inputs.size())) {
        for (std::size_t i = 0; i < m_inputs.size(); ++i)
            x[i] = m_marginals.valueAt(static_cast<int>(i), x[i]);
        return;
    }
    for (std::size_t i = 0; i < m_inputs.size(); ++i) {
        Extended p = NormalCdf(x[i]);
        if (!(p > Tiny)) p = Tiny;
        if (!(p < belowOne)) p = belowOne;
        x[i] = TruncatedQuantile(*m_inputs[i].iis, p);
    }
}

} // namespace probex
