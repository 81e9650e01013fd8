#include "simulation/HisCompute.h"

#include "simulation/OutHis.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace probex {

namespace {

void ComputeSpan(TOutHis& his) {
    const std::int32_t n = his.binCount;
    const std::int32_t* c = his.counts.data();
    if (!his.rangeSet || n == 0) {
        // Only copies of one value were seen; range min holds it and bin 0 counts them.
        his.total = n == 0 ? 0 : c[0];
        his.firstBin = 0;
        his.lastBin = 0;
        his.histMin = his.rangeMin;
        his.histMax = his.rangeMin;
        return;
    }
    std::int32_t first = 0;
    while (first < n - 1 && c[first] == 0)
        ++first;
    std::int32_t last = n - 1;
    while (last > 0 && c[last] == 0)
        --last;
    std::int32_t total = 0;
    for (std::int32_t k = first; k <= last; ++k)
        total += c[k];
    his.firstBin = first;
    his.lastBin = last;
    his.total = total;
    const Extended r = his.rangeWidth;
    if (his.discrete) {
        his.histMin = his.rangeMin + (static_cast<Extended>(first) / (n - 1)) * r;
        his.histMax = his.rangeMin + (static_cast<Extended>(last) / (n - 1)) * r;
    } else {
        his.histMin = his.rangeMin + (static_cast<Extended>(first) / n) * r;
        his.histMax = his.rangeMax - (static_cast<Extended>(n - 1 - last) / n) * r;
    }
}

// Quantile and probability read the span fields, which must be current.
Extended Quantile(const TOutHis& his, Extended p) {
    if (p <= 0) return his.histMin;
    if (p >= 1) return his.histMax;
    if (his.total <= 0) return his.histMin;
    const std::int32_t* c = his.counts.data();
    const std::int32_t first = his.firstBin;
    const std::int32_t last = his.lastBin;
    const Extended target = p * his.total;
    if (his.discrete) {
        Extended cum = 0;
        std::int32_t k = first;
        for (;;) {
            cum += c[k];
            if ((cum >= target && cum > 0) || k >= last) break;
            ++k;
        }
        return his.rangeMin + his.rangeWidth * k / (his.binCount - 1);
    }
    // The walk stops in an occupied bin: empty bins leave cum unchanged, so cum - prev > 0.
    Extended cum = 0;
    Extended prev = 0;
    std::int32_t k = first;
    do {
        prev = cum;
        cum += c[k];
        ++k;
    } while (k <= last && cum < target);
    const Extended j = k - first - 1;
    const Extended f = (target - prev) / (cum - prev);
    return his.histMin + (his.histMax - his.histMin) * (j + f) / (last - first + 1);
}

Extended Probability(const TOutHis& his, Extended q) {
    if (his.total <= 0) return 0;
    // At or above the top everything lies below, also for a constant whose span is one point.
    if (q >= his.histMax) return 1;
    if (q <= his.histMin) return 0;
    const std::int32_t n = his.binCount;
    const std::int32_t* c = his.counts.data();
    Extended below = 0;
    if (his.discrete) {
        const Extended u = (n - 1) * (q - his.rangeMin) / his.rangeWidth;
        const std::int32_t k = std::clamp(static_cast<std::int32_t>(u), 0, n - 1);
        for (std::int32_t i = 0; i <= k; ++i)
            below += c[i];
    } else {
        const Extended u = n * (q - his.rangeMin) / his.rangeWidth;
        const std::int32_t k = std::clamp(static_cast<std::int32_t>(u), 0, n - 1);
        const Extended f = std::max(u - k, Extended{0});
        for (std::int32_t i = 0; i < k; ++i)
            below += c[i];
        below += f * c[k];
    }
    return below / his.total;
}

void ComputeMarks(TOutHis& his) {
    his.median = Quantile(his, 0.5L);
    for (std::size_t m = 0; m < his.markValues.size(); ++m)
        his.markResults[m] = his.markKinds[m] ? Probability(his, his.markValues[m])
                                              : Quantile(his, his.markValues[m]);
}

void ComputeMoments(TOutHis& his, int level) {
    if (!his.rangeSet || his.total <= 0) {
        his.mean = his.rangeSet ? his.histMin : his.rangeMin;
        his.variance = 0;
        his.stdev = 0;
        his.covar = 0;
        // The mark results stay as ComputeMarks found them: a constant answers its value as
        // every quantile, 0 or 1 as a probability.
        if (level >= 3) {
            his.skew = 0;
            his.kurt = -3;
            his.median = his.mean;
        }
        return;
    }
    const std::int32_t n = his.binCount;
    const std::int32_t* c = his.counts.data();
    Extended s1 = 0, s2 = 0, s3 = 0, s4 = 0;
    for (std::int32_t k = his.firstBin; k <= his.lastBin; ++k) {
        const Extended x = his.discrete ? his.rangeMin + k * his.rangeWidth / (n - 1)
                                        : his.rangeMin + (k + 0.5L) * his.binWidth;
        const Extended b = c[k];
        const Extended x2 = x * x;
        s1 += b * x;
        s2 += b * x2;
        s3 += b * x2 * x;
        s4 += b * x2 * x2;
    }
    const Extended t = his.total;
    his.mean = s1 / t;
    his.variance = s2 / t - his.mean * his.mean;
    // Rounding can take the variance of a narrow histogram far from 0 just below 0.
    if (his.variance < 0) his.variance = 0;
    his.stdev = std::sqrt(his.variance);
    his.covarValid = his.mean != 0;
    if (his.covarValid) his.covar = his.stdev / his.mean;
    if (level < 3) return;
    const Extended m = his.mean;
    const Extended s = his.stdev;
    if (s == 0) { // a single occupied discrete point: no spread to divide by
        his.skew = 0;
        his.kurt = -3;
        return;
    }
    his.skew = (s3 / t - 3 * m * s2 / t + 2 * m * m * m) / (s * s * s);
    his.kurt =
        (s4 / t - 4 * m * s3 / t + 6 * m * m * s2 / t - 3 * m * m * m * m) / (s * s * s * s) - 3;
}

} // namespace

void HisCompute(TOutHis& his, int level, bool withMarks) {
    if (level <= 0 && withMarks) level = 1;
    his.level = static_cast<std::uint8_t>(std::clamp(level, 0, 3));
    if (level <= 0) return;
    ComputeSpan(his);
    if (withMarks) ComputeMarks(his);
    if (level >= 2) ComputeMoments(his, level);
}

Extended HisQuantile(TOutHis& his, Extended p) {
    if (his.level == 0) HisCompute(his, 1, false);
    return Quantile(his, p);
}

Extended HisProbability(TOutHis& his, Extended q) {
    if (his.level == 0) HisCompute(his, 1, false);
    return Probability(his, q);
}

HisCurvePoints HisCurve(TOutHis& his, HisCurveKind kind) {
    if (his.level == 0) HisCompute(his, 1, false);
    HisCurvePoints curve;
    curve.verticalMarks = kind != HisCurveKind::Quantile;
    if (!his.rangeSet || his.total <= 0) return curve;
    const std::int32_t first = his.firstBin;
    const std::int32_t last = his.lastBin;
    const std::int32_t* c = his.counts.data();
    const Extended span = his.histMax - his.histMin;
    const Extended t = his.total;
    curve.points.reserve(static_cast<std::size_t>(last - first + 1));
    Extended cum = 0;
    Extended top = 0;
    for (std::int32_t k = first; k <= last; ++k) {
        // One occupied bin has no spread to place bins along; it stands midway.
        const Extended position = last == first ? his.histMin + span / 2
                                                : his.histMin + (k - first) * span / (last - first);
        cum += c[k];
        top = std::max(top, static_cast<Extended>(c[k]));
        switch (kind) {
        case HisCurveKind::Histogram:
            curve.points.push_back({position, static_cast<Extended>(c[k])});
            break;
        case HisCurveKind::Distribution:
            curve.points.push_back({position, cum / t});
            break;
        case HisCurveKind::Quantile:
            curve.points.push_back({cum / t, position});
            break;
        }
    }
    if (kind == HisCurveKind::Quantile) {
        curve.xMin = 0;
        curve.xMax = 1;
        curve.yMin = his.histMin;
        curve.yMax = his.histMax;
    } else {
        curve.xMin = his.histMin;
        curve.xMax = his.histMax;
        curve.yMin = 0;
        curve.yMax = kind == HisCurveKind::Histogram ? top : 1;
    }
    return curve;
}

} // namespace probex
