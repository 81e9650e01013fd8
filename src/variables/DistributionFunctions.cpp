#include "variables/DistributionFunctions.h"

#include "variables/TailDistribution.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace probex {

namespace {

template <class Tails> TBoundTails boundTails(const Tails& tails, Extended min, Extended max) {
    TBoundTails bounds;
    bounds.Min = min;
    bounds.Max = max;
    bounds.LowerAtMin = tails.lower(min);
    bounds.UpperAtMin = tails.upper(min);
    bounds.UpperAtMax = tails.upper(max);
    // Above the median F(Min) is close to 1 and would lose the digits of a small mass.
    bounds.Mass = bounds.LowerAtMin > 0.5L ? bounds.UpperAtMin - bounds.UpperAtMax
                                           : tails.lower(max) - bounds.LowerAtMin;
    return bounds;
}

template <class Tails> TBoundTails boundsOf(const TIis& iis, const Tails& tails) {
    const TBoundTails& stored = iis.Bounds;
    if (stored.Mass > 0 && stored.Min == iis.Min && stored.Max == iis.Max) return stored;
    return boundTails(tails, iis.Min, iis.Max);
}

// The truncated distribution function from the tail that holds Min.
template <class Tails>
Extended truncatedCdf(const Tails& tails, const TBoundTails& bounds, Extended x) {
    if (!(bounds.Mass > 0)) return 0;
    const Extended inside = bounds.LowerAtMin > 0.5L ? bounds.UpperAtMin - tails.upper(x)
                                                     : tails.lower(x) - bounds.LowerAtMin;
    return std::clamp<Extended>(inside / bounds.Mass, 0, 1);
}

// The quantile aims at F = F(Min) + p·mass and at S = S(Max) + (1 − p)·mass at once; each
// is a sum of non-negative terms, so the one below one half is accurate to its last digits.
template <class Tails>
Extended truncatedQuantile(const Tails& tails, const TBoundTails& bounds, Extended min,
                           Extended max, Extended p) {
    if (!(bounds.Mass > 0)) return min;
    const Extended lower = bounds.LowerAtMin + p * bounds.Mass;
    const Extended x = lower <= 0.5L
                           ? tails.lowerQuantile(lower)
                           : tails.upperQuantile(bounds.UpperAtMax + (1 - p) * bounds.Mass);
    if (!(x >= min)) return min; // also a NaN from a failed inversion
    return std::min(x, max);
}

// Cumulative counts of a sorted urn of bin indexes.
std::int64_t entriesBelow(const TIis& iis, std::int32_t bin) {
    const auto end = iis.Urn.begin() + iis.UrnSize;
    return std::lower_bound(iis.Urn.begin(), end, bin) - iis.Urn.begin();
}

std::int64_t entriesUpTo(const TIis& iis, std::int32_t bin) {
    const auto end = iis.Urn.begin() + iis.UrnSize;
    return std::upper_bound(iis.Urn.begin(), end, bin) - iis.Urn.begin();
}

// The last bin whose value (discrete) or lower edge (continuous) is at or below x, computed
// with the sampler's own arithmetic Loc + i·Scale so that a bin value maps to its own bin.
std::int32_t binAtOrBelow(const TIis& iis, Extended x) {
    const Extended last = iis.Bins - 1;
    Extended i = std::clamp<Extended>(std::floor((x - iis.Loc) / iis.Scale), 0, last);
    if (i < last && iis.Loc + (i + 1) * iis.Scale <= x) ++i;
    if (i > 0 && iis.Loc + i * iis.Scale > x) --i;
    return static_cast<std::int32_t>(i);
}

Extended histogramCdf(const TIis& iis, Extended x) {
    if (iis.UrnSize <= 0 || iis.Bins <= 0 || !(iis.Scale > 0)) return x >= iis.Max ? 1 : 0;
    const Extended total = iis.UrnSize;
    if (iis.Kind == DistKind::dkDiscrete) {
        if (x < iis.Min) return 0;
        return entriesUpTo(iis, binAtOrBelow(iis, x)) / total;
    }
    if (x <= iis.Min) return 0;
    if (x >= iis.Max) return 1;
    const std::int32_t bin = binAtOrBelow(iis, x);
    const Extended within = std::clamp<Extended>((x - iis.Loc) / iis.Scale - bin, 0, 1);
    const std::int64_t below = entriesBelow(iis, bin);
    return (below + within * (entriesUpTo(iis, bin) - below)) / total;
}

// The urn is sorted by bin, so its entry at p·UrnSize is the bin where the cumulative
// probability reaches p; a continuous bin is spread linearly over its width.
Extended histogramQuantile(const TIis& iis, Extended p) {
    if (iis.UrnSize <= 0) return iis.Min;
    const Extended total = iis.UrnSize;
    const Extended position = std::clamp<Extended>(p, 0, 1) * total;
    if (iis.Kind == DistKind::dkDiscrete) {
        const Extended k = std::clamp<Extended>(std::ceil(position) - 1, 0, total - 1);
        return iis.Loc + iis.Urn[static_cast<std::size_t>(k)] * iis.Scale;
    }
    const Extended k = std::clamp<Extended>(std::floor(position), 0, total - 1);
    const std::int32_t bin = iis.Urn[static_cast<std::size_t>(k)];
    const std::int64_t below = entriesBelow(iis, bin);
    const Extended within =
        std::clamp<Extended>((position - below) / (entriesUpTo(iis, bin) - below), 0, 1);
    return iis.Loc + (bin + within) * iis.Scale;
}

} // namespace

bool HasDistributionFunction(DistKind kind) {
    return kind == DistKind::dkDiscrete || kind == DistKind::dkContinuous ||
           HasTailDistribution(kind);
}

Extended TruncatedCdf(const TIis& iis, Extended x) {
    if (iis.Kind == DistKind::dkDiscrete || iis.Kind == DistKind::dkContinuous)
        return histogramCdf(iis, x);
    if (!HasTailDistribution(iis.Kind)) return 0;
    if (x <= iis.Min) return 0;
    if (x >= iis.Max) return 1;
    return VisitTails(
        iis, [&](const auto& tails) { return truncatedCdf(tails, boundsOf(iis, tails), x); });
}

Extended TruncatedQuantile(const TIis& iis, Extended p) {
    if (iis.Kind == DistKind::dkDiscrete || iis.Kind == DistKind::dkContinuous)
        return histogramQuantile(iis, p);
    if (!HasTailDistribution(iis.Kind)) return 0;
    if (!(p > 0)) return iis.Min;
    if (!(p < 1)) return iis.Max;
    return VisitTails(iis, [&](const auto& tails) {
        return truncatedQuantile(tails, boundsOf(iis, tails), iis.Min, iis.Max, p);
    });
}

void StoreBoundTails(TIis& iis) {
    iis.Bounds = {};
    if (!HasTailDistribution(iis.Kind)) return;
    VisitTails(iis, [&](const auto& tails) {
        iis.Bounds = boundTails(tails, iis.Min, iis.Max);
        return Extended(0);
    });
}

} // namespace probex
