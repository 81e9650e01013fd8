#include "variables/DistributionCurves.h"

#include "variables/Distributions.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace probex {

namespace {

Extended StandardNormalDensity(Extended z) {
    return std::exp(-z * z / 2) / std::sqrt(2 * std::numbers::pi_v<Extended>);
}

/// The untruncated density; the derived Loc and Scale come from CheckParameters.
Extended Density(const TIis& iis, Extended x) {
    switch (iis.Kind) {
    case DistKind::dkExponential:
        return x < iis.Loc ? 0 : std::exp(-(x - iis.Loc) / iis.Scale) / iis.Scale;
    case DistKind::dkLognormal:
        if (!(x > 0)) return 0;
        return StandardNormalDensity((std::log(x) - iis.Loc) / iis.Scale) / (x * iis.Scale);
    case DistKind::dkNormal:
        return StandardNormalDensity((x - iis.Loc) / iis.Scale) / iis.Scale;
    case DistKind::dkUniform:
        return 1 / iis.Scale;
    default:
        return 0;
    }
}

bool HasFormula(DistKind kind) {
    return kind == DistKind::dkExponential || kind == DistKind::dkLognormal ||
           kind == DistKind::dkNormal || kind == DistKind::dkUniform;
}

Extended MassInside(const TIis& iis) {
    return ProbabilityBetween(iis, iis.Min, iis.Max);
}

} // namespace

Extended TruncatedDensity(const TIis& iis, Extended x) {
    const Extended mass = MassInside(iis);
    if (!HasFormula(iis.Kind) || !(mass > 0) || x < iis.Min || x > iis.Max) return 0;
    return Density(iis, x) / mass;
}

Extended TruncatedDistribution(const TIis& iis, Extended x) {
    const Extended mass = MassInside(iis);
    if (!HasFormula(iis.Kind) || !(mass > 0) || x <= iis.Min) return 0;
    if (x >= iis.Max) return 1;
    return std::clamp<Extended>(ProbabilityBetween(iis, iis.Min, x) / mass, 0, 1);
}

bool TruncatedCurves(const TIis& iis, TDistributionCurves& curves) {
    const Extended mass = MassInside(iis);
    if (!HasFormula(iis.Kind) || !(iis.Max > iis.Min) || !(iis.Scale > 0) || !(mass > 0) ||
        !std::isfinite(mass))
        return false;
    const Extended h = (iis.Max - iis.Min) / (ProfileCells - 1);
    for (int i = 0; i < ProfileCells; ++i) {
        // The last cell sits on Max exactly, not on a sum carrying rounding.
        const Extended x = i == ProfileCells - 1 ? iis.Max : iis.Min + i * h;
        curves.X[i] = x;
        curves.Density[i] = Density(iis, x) / mass;
        curves.Distribution[i] = TruncatedDistribution(iis, x);
    }
    return true;
}

} // namespace probex
