#include "variables/Copula.h"

#include "engine/ExtendedMath.h"
#include "variables/DistributionFunctions.h"
#include "variables/Random.h"
#include "variables/TailDistribution.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace probex {

namespace {

/// The largest correction d for which the series of valueAt is exact to the format: its first
/// neglected term, about (7 z + 6 z^3) d^4 / 24, stays below 1e-21 for |z| up to 7.
constexpr Extended MaxSeriesStep = 1e-6L;

} // namespace

Extended StandardNormalCdf(Extended z) {
    return std::erfc(-z / std::numbers::sqrt2_v<Extended>) / 2;
}

bool TCopula::prepare(std::vector<const TIis*> members, const TSquareMatrix& normalCorrelations) {
    clear();
    if (!CholeskyFactor(normalCorrelations, m_lower)) return false;
    m_members = std::move(members);
    for (const TIis* iis : m_members) {
        Bounds& b = m_bounds.emplace_back();
        b.lognormal = iis->Kind == DistKind::dkLognormal;
        b.normal = b.lognormal || iis->Kind == DistKind::dkNormal;
        if (!b.normal) continue;
        VisitTails(*iis, [iis, &b](const auto& tails) {
            b.lowerAtMin = tails.lower(iis->Min);
            b.outside = b.lowerAtMin + tails.upper(iis->Max);
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
    for (int i = 0; i < n; ++i) {
        const Extended* row = &m_lower.a[static_cast<std::size_t>(i * n)];
        Extended z = 0;
        for (int j = 0; j <= i; ++j)
            z += row[j] * m_deviates[static_cast<std::size_t>(j)];
        m_values[static_cast<std::size_t>(i)] = valueAt(i, z);
    }
    return m_values.data();
}

Extended TCopula::valueAt(int i, Extended z) const {
    const TIis& iis = *m_members[static_cast<std::size_t>(i)];
    const Bounds& b = m_bounds[static_cast<std::size_t>(i)];
    if (b.normal) {
        // The truncated quantile aims at t = F(Min) + Phi(z) mass, which differs from Phi(z)
        // by F(Min) - Phi(z) outside, little when the bounds cut off little: the inverse is
        // then z plus its Taylor series in e = t - Phi(z), with d = e / phi(z),
        // Phi^-1(Phi(z) + e) = z + d + z d^2 / 2 + (1 + 2 z^2) d^3 / 6 + O(d^4).
        // Phi(z) and phi(z) enter only through the small term, so double precision serves.
        const double zd = static_cast<double>(z);
        const double phi = 0.5 * std::erfc(-zd * std::numbers::sqrt2 / 2);
        const double density =
            std::exp(-zd * zd / 2) * std::numbers::inv_sqrtpi / std::numbers::sqrt2;
        const Extended d = (b.lowerAtMin - phi * b.outside) / density;
        if (std::fabs(d) <= MaxSeriesStep) {
            const Extended w = z + d * (1 + d * (z / 2 + d * (1 + 2 * z * z) / 6));
            const Extended y = iis.Loc + iis.Scale * w;
            const Extended x = b.lognormal ? ExpX(y) : y;
            if (x > iis.Min && x < iis.Max) return x;
        }
    }
    // Far in a tail the distribution function rounds to 0 or 1, where no quantile exists.
    constexpr Extended lowest = std::numeric_limits<Extended>::min();
    const Extended highest = std::nextafter(Extended{1}, Extended{0});
    return TruncatedQuantile(iis, std::clamp(StandardNormalCdf(z), lowest, highest));
}

} // namespace probex
