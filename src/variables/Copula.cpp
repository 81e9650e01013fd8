#include "variables/Copula.h"

#include "variables/DistributionFunctions.h"
#include "variables/Random.h"
#include "variables/TailDistribution.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace probex {

Extended StandardNormalCdf(Extended z) {
    return std::erfc(-z / std::numbers::sqrt2_v<Extended>) / 2;
}

bool TCopula::prepare(std::vector<const TIis*> members, const TSquareMatrix& normalCorrelations) {
    clear();
    if (!CholeskyFactor(normalCorrelations, m_lower)) return false;
    m_members = std::move(members);
    for (const TIis* iis : m_members) {
        Bounds& b = m_bounds.emplace_back();
        b.tails = HasTailDistribution(iis->Kind);
        if (!b.tails) continue;
        VisitTails(*iis, [iis, &b](const auto& tails) {
            const Extended a = tails.lower(iis->Min);
            b.lowerAtMin = a;
            b.upperAtMax = tails.upper(iis->Max);
            // The mass from the tail that keeps its digits, as TruncatedQuantile takes it.
            b.mass = a > 0.5L ? tails.upper(iis->Min) - b.upperAtMax : tails.lower(iis->Max) - a;
            return Extended{0};
        });
    }
    m_deviates.assign(m_members.size(), 0);
    m_values.assign(m_members.size(), 0);
    return true;
}

void TCopula::clear() {
    m_members.clear();
    m_bounds.clear();
    m_lower = TSquareMatrix();
    m_deviates.clear();
    m_values.clear();
}

const Extended* TCopula::draw(TRandom& random) {
    const int n = size();
    for (Extended& deviate : m_deviates)
        deviate = random.NormalDeviate();
    // Far in a tail the distribution function rounds to 0 or 1, where no quantile exists.
    constexpr Extended lowest = std::numeric_limits<Extended>::min();
    const Extended highest = std::nextafter(Extended{1}, Extended{0});
    for (int i = 0; i < n; ++i) {
        const Extended* row = &m_lower.a[static_cast<std::size_t>(i * n)];
        Extended z = 0;
        for (int j = 0; j <= i; ++j)
            z += row[j] * m_deviates[static_cast<std::size_t>(j)];
        const Extended p = std::clamp(StandardNormalCdf(z), lowest, highest);
        m_values[static_cast<std::size_t>(i)] = quantile(i, p);
    }
    return m_values.data();
}

Extended TCopula::quantile(int i, Extended p) const {
    const TIis& iis = *m_members[static_cast<std::size_t>(i)];
    const Bounds& b = m_bounds[static_cast<std::size_t>(i)];
    if (!b.tails) return TruncatedQuantile(iis, p);
    if (!(b.mass > 0)) return iis.Min;
    // Aimed at F = F(Min) + p mass or at S = S(Max) + (1 - p) mass, whichever lies in the
    // lower half and so is exact to its last digits.
    const Extended lower = b.lowerAtMin + p * b.mass;
    const Extended x = VisitTails(iis, [&](const auto& tails) {
        return lower <= 0.5L ? tails.lowerQuantile(lower)
                             : tails.upperQuantile(b.upperAtMax + (1 - p) * b.mass);
    });
    if (!(x >= iis.Min)) return iis.Min; // also a NaN from a failed inversion
    return std::min(x, iis.Max);
}

} // namespace probex
