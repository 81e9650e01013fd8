#include "variables/DistributionCurves.h"

#include "variables/DistributionFunctions.h"
#include "variables/TailDistribution.h"

#include <algorithm>
#include <cmath>

namespace probex {

namespace {

Extended MassInside(const TIis& iis) {
    if (!HasTailDistribution(iis.Kind)) return 0;
    return VisitTails(iis, [&](const auto& tails) {
        const Extended a = tails.lower(iis.Min);
        return a > 0.5L ? tails.upper(iis.Min) - tails.upper(iis.Max) : tails.lower(iis.Max) - a;
    });
}

} // namespace

Extended TruncatedDensity(const TIis& iis, Extended x) {
    const Extended mass = MassInside(iis);
    if (!(mass > 0) || x < iis.Min || x > iis.Max) return 0;
    return VisitTails(iis, [&](const auto& tails) { return tails.density(x); }) / mass;
}

Extended TruncatedDistribution(const TIis& iis, Extended x) {
    if (!HasTailDistribution(iis.Kind) || !(MassInside(iis) > 0)) return 0;
    return TruncatedCdf(iis, x);
}

bool TruncatedCurves(const TIis& iis, TDistributionCurves& curves) {
    const Extended mass = MassInside(iis);
    if (!(iis.Max > iis.Min) || !(iis.Scale > 0) || !(mass > 0) || !std::isfinite(mass))
        return false;
    const Extended h = (iis.Max - iis.Min) / (ProfileCells - 1);
    Extended below = 0; // the distribution function at the lower edge of the cell
    for (int i = 0; i < ProfileCells; ++i) {
        // The last cell sits on Max exactly, not on a sum carrying rounding.
        const Extended x = i == ProfileCells - 1 ? iis.Max : iis.Min + i * h;
        const Extended above = i == ProfileCells - 1 ? 1 : TruncatedCdf(iis, x + h / 2);
        curves.X[i] = x;
        curves.Density[i] = std::max<Extended>(above - below, 0) / h;
        curves.Distribution[i] = TruncatedCdf(iis, x);
        below = above;
    }
    return true;
}

} // namespace probex
