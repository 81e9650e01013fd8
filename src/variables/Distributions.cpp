#include "variables/Distributions.h"

#include "engine/ExtendedMath.h"

#include "variables/DistributionFunctions.h"
#include "variables/InversionKinds.h"
#include "variables/Random.h"
#include "variables/TailDistribution.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace probex {

namespace {

constexpr Extended extremeEpsilon = 1.0L / 2147483647.0L;
constexpr std::uint32_t rejectionsPerStopCheck = 1000000;
constexpr const char* FarApart = "Parameters too far apart: derived values are not finite numbers!";

// The kinds drawn from their untruncated law until a value falls between Min and Max.
bool isRejectionKind(DistKind kind) {
    return kind == DistKind::dkExponential || kind == DistKind::dkLognormal ||
           kind == DistKind::dkNormal || kind == DistKind::dkUniform;
}

bool isParametric(DistKind kind) {
    return isRejectionKind(kind) || IsInversionKind(kind);
}

void applyCoVarRule(TIis& iis) {
    if (iis.Mean == 0) {
        iis.CoVar = 0;
        iis.StatShown.CoVar = false;
    } else {
        iis.CoVar = iis.StDev / iis.Mean;
        iis.StatShown.CoVar = true;
    }
}

std::string deriveParametric(TIis& iis) {
    switch (iis.Kind) {
    case DistKind::dkExponential:
        if (!(iis.Max > iis.Mean - iis.StDev)) return "Must be Max>Mean-StDev!";
        if (!(iis.StDev > 0)) return "Must be StDev>0!";
        iis.Loc = iis.Mean - iis.StDev;
        iis.Scale = iis.StDev;
        iis.Median = iis.Loc + iis.Scale * std::numbers::ln2_v<Extended>;
        iis.Variance = iis.StDev * iis.StDev;
        applyCoVarRule(iis);
        iis.Skew = 2;
        iis.Kurt = 6;
        return {};
    case DistKind::dkLognormal: {
        if (!(iis.StDev > 0)) return "Must be StDev>0!";
        if (!(iis.Mean > 0)) return "Must be Mean>0!";
        const Extended ratio = iis.StDev / iis.Mean;
        const Extended w = 1 + ratio * ratio;
        iis.Loc = std::log(iis.Mean / std::sqrt(w));
        iis.Scale = std::sqrt(std::log(w));
        iis.Median = std::exp(iis.Loc);
        iis.Variance = iis.StDev * iis.StDev;
        applyCoVarRule(iis);
        iis.Skew = (w + 2) * std::sqrt(w - 1);
        iis.Kurt = w * w * w * w + 2 * w * w * w + 3 * w * w - 6;
        return {};
    }
    case DistKind::dkNormal:
        if (!(iis.StDev > 0)) return "Must be StDev>0!";
        iis.Loc = iis.Mean;
        iis.Scale = iis.StDev;
        iis.Median = iis.Mean;
        iis.Variance = iis.StDev * iis.StDev;
        applyCoVarRule(iis);
        iis.Skew = 0;
        iis.Kurt = 0;
        return {};
    case DistKind::dkUniform:
        iis.Loc = iis.Min;
        iis.Scale = iis.Max - iis.Min;
        iis.Mean = (iis.Min + iis.Max) * 0.5L;
        iis.Median = iis.Mean;
        iis.Variance = (iis.Max - iis.Min) * (iis.Max - iis.Min) / 12;
        iis.StDev = std::sqrt(iis.Variance);
        applyCoVarRule(iis);
        iis.Skew = 0;
        iis.Kurt = 0;
        return {};
    default:
        return DeriveInversionKind(iis);
    }
}

bool derivedFinite(const TIis& iis) {
    for (Extended v : {iis.Loc, iis.Scale, iis.Mean, iis.StDev, iis.Variance, iis.CoVar, iis.Median,
                       iis.Skew, iis.Kurt, iis.Shape, iis.Shape2})
        if (!std::isfinite(v)) return false;
    return true;
}

// Upper tail of the standard normal distribution; erfc keeps tiny tails instead of 1 - 1.
Extended upperTail(Extended z) {
    return 0.5L * std::erfc(z / std::numbers::sqrt2_v<Extended>);
}

Extended normalMass(Extended a, Extended b) {
    if (!(a < b)) return 0;
    if (a >= 0) return upperTail(a) - upperTail(b);
    if (b <= 0) return upperTail(-b) - upperTail(-a);
    return 1 - upperTail(-a) - upperTail(b);
}

Extended exponentialSurvival(const TIis& iis, Extended x) {
    if (x <= iis.Loc) return 1;
    return std::exp(-(x - iis.Loc) / iis.Scale);
}

Extended lognormalZ(const TIis& iis, Extended x) {
    if (x <= 0) return -HUGE_VALL;
    return (std::log(x) - iis.Loc) / iis.Scale;
}

bool strictlyInside(const TIis& iis, Extended x) {
    return iis.Min < x && x < iis.Max;
}

// The value of probability p, nudged off a bound that rounding reached: every drawn value
// lies strictly between Min and Max.
Extended drawByInversion(const TIis& iis, Extended p) {
    const Extended x = TruncatedQuantile(iis, p);
    if (x <= iis.Min) return std::nextafter(iis.Min, iis.Max);
    if (x >= iis.Max) return std::nextafter(iis.Max, iis.Min);
    return x;
}

// Called once per million rejections: a stop request abandons the draw.
bool stopRequested(const std::atomic<bool>* stop, std::uint32_t& rejected) {
    if (++rejected < rejectionsPerStopCheck) return false;
    rejected = 0;
    return stop != nullptr && stop->load(std::memory_order_relaxed);
}

} // namespace

void SetDefaultParameters(TIis& iis) {
    iis.StatShown = TStatShown{};
    iis.Mean = iis.StDev = iis.Variance = iis.CoVar = iis.Median = iis.Skew = iis.Kurt = 0;
    iis.Mode = iis.Shape = iis.Shape2 = 0;
    iis.Bounds = {};
    switch (iis.Kind) {
    case DistKind::dkUndefined:
    case DistKind::dkStepNumber:
        break;
    case DistKind::dkConstant:
        iis.Loc = 0;
        iis.Scale = 1;
        iis.ConstCaption.clear();
        break;
    case DistKind::dkDiscrete:
    case DistKind::dkContinuous:
        iis.Min = iis.Max = iis.Loc = iis.Scale = 0;
        iis.StatShown.Mean = iis.StatShown.StDev = iis.StatShown.Variance = true;
        iis.StatShown.Median = true;
        break;
    case DistKind::dkExponential:
        iis.Min = 0;
        iis.Max = 20;
        iis.Mean = 1;
        iis.StDev = 1;
        iis.StatShown = {true, true, true, true, true, true, true};
        break;
    case DistKind::dkLognormal:
        iis.Min = 0;
        iis.Max = 1000;
        iis.Mean = 1;
        iis.StDev = 1;
        iis.StatShown = {true, true, true, true, true, true, true};
        break;
    case DistKind::dkNormal:
        iis.Min = -3;
        iis.Max = 3;
        iis.Mean = 0;
        iis.StDev = 1;
        iis.StatShown = {true, true, true, false, true, true, true};
        break;
    case DistKind::dkUniform:
        iis.Min = 0;
        iis.Max = 1;
        iis.StatShown = {true, true, true, true, true, true, false};
        break;
    default:
        SetInversionDefaults(iis);
        break;
    }
    if (isParametric(iis.Kind)) CheckParameters(iis);
}

std::string CheckParameters(TIis& iis) {
    switch (iis.Kind) {
    case DistKind::dkUndefined:
    case DistKind::dkStepNumber:
        return {};
    case DistKind::dkConstant:
        iis.Scale = 1;
        return {};
    case DistKind::dkDiscrete:
    case DistKind::dkContinuous: {
        const bool discrete = iis.Kind == DistKind::dkDiscrete;
        if (!(iis.Max > iis.Min)) return "Must be Min<Max!";
        if (discrete && iis.Bins < 2) return "Must be Bins>=2!";
        if (!discrete && iis.Bins < 1) return "Must be Bins>=1!";
        const Extended scale = (iis.Max - iis.Min) / (discrete ? iis.Bins - 1 : iis.Bins);
        if (!std::isfinite(scale)) return FarApart;
        iis.Loc = iis.Min;
        iis.Scale = scale;
        return {};
    }
    default:
        break;
    }

    // Infinite or undefined parameters would make every draw fail the bounds test forever.
    const bool usesMode = EntersMode(iis.Kind);
    const bool usesMoments = iis.Kind != DistKind::dkUniform && !usesMode;
    if (!std::isfinite(iis.Min) || !std::isfinite(iis.Max) ||
        (usesMoments && (!std::isfinite(iis.Mean) || !std::isfinite(iis.StDev))) ||
        (usesMode && !std::isfinite(iis.Mode)))
        return "Parameters must be finite numbers!";
    if (!(iis.Max > iis.Min)) return "Must be Min<Max!";

    // Derived on a copy, so that a failure leaves the record as it was.
    TIis derived = iis;
    if (std::string problem = deriveParametric(derived); !problem.empty()) return problem;
    // Finite parameters can still overflow what is derived from them (Max-Min of -1E4932
    // and 1E4932): such a sampler would draw nothing but infinities.
    if (!derivedFinite(derived)) return FarApart;
    StoreBoundTails(derived);
    iis = std::move(derived);
    return {};
}

Extended ProbabilityInsideBounds(const TIis& iis) {
    if (iis.Kind == DistKind::dkUniform) return 1;
    return ProbabilityBetween(iis, iis.Min, iis.Max);
}

Extended ProbabilityBetween(const TIis& iis, Extended a, Extended b) {
    switch (iis.Kind) {
    case DistKind::dkExponential:
        if (!(b > a)) return 0;
        return exponentialSurvival(iis, a) - exponentialSurvival(iis, b);
    case DistKind::dkLognormal:
        return normalMass(lognormalZ(iis, a), lognormalZ(iis, b));
    case DistKind::dkNormal:
        return normalMass((a - iis.Loc) / iis.Scale, (b - iis.Loc) / iis.Scale);
    case DistKind::dkUniform: {
        const Extended lo = std::max(a, iis.Min);
        const Extended hi = std::min(b, iis.Max);
        return hi > lo && iis.Scale > 0 ? (hi - lo) / iis.Scale : 0;
    }
    default:
        if (!IsInversionKind(iis.Kind)) return 1;
        if (!(b > a)) return 0;
        return VisitTails(iis, [&](const auto& tails) {
            const Extended below = tails.lower(a);
            return below > 0.5L ? tails.upper(a) - tails.upper(b) : tails.lower(b) - below;
        });
    }
}

std::string SlowDrawingWarning(const TIis& iis) {
    // Rejection sampling needs on average 1/p draws per value.
    if (isRejectionKind(iis.Kind) && !(ProbabilityInsideBounds(iis) >= 1e-6L))
        return "Less than 1e-6 of the distribution lies between Min and Max: drawing a "
               "value may take very long!";
    return {};
}

std::string CheckWarnings(const TIis& iis) {
    if (IsInversionKind(iis.Kind)) return InversionKindWarning(iis);
    std::string warning;
    switch (iis.Kind) {
    case DistKind::dkExponential:
        if (iis.Min > iis.Mean - iis.StDev) warning = "Should be Min=Mean-StDev!";
        break;
    case DistKind::dkLognormal:
    case DistKind::dkNormal:
        if (iis.Mean < iis.Min) warning = "Should be Min<Mean!";
        if (iis.Mean > iis.Max) warning = "Should be Max>Mean!";
        break;
    default:
        break;
    }
    // The slow-drawing warning comes in addition to the kind's own, never instead of it.
    if (const std::string slow = SlowDrawingWarning(iis); !slow.empty())
        warning += (warning.empty() ? "" : "\n") + slow;
    return warning;
}

Extended SampleValue(const TIis& iis, TRandom& random, std::int64_t step,
                     const std::atomic<bool>* stop) {
    std::uint32_t rejected = 0;
    Extended x;
    switch (iis.Kind) {
    case DistKind::dkUndefined:
        return 0;
    case DistKind::dkConstant:
        return iis.Loc;
    case DistKind::dkStepNumber:
        return static_cast<Extended>(step);
    case DistKind::dkDiscrete: {
        if (iis.Urn.empty()) return iis.Min;
        const std::int32_t i = iis.Urn[random.Random(static_cast<std::int32_t>(iis.Urn.size()))];
        return iis.Loc + i * iis.Scale;
    }
    case DistKind::dkContinuous: {
        if (iis.Urn.empty()) return iis.Min;
        const std::int32_t i = iis.Urn[random.Random(static_cast<std::int32_t>(iis.Urn.size()))];
        const Extended u = random.Random();
        return iis.Loc + (i + u) * iis.Scale;
    }
    case DistKind::dkExponential:
        for (;;) {
            const Extended u = 1 - random.Random();
            x = iis.Loc - iis.Scale * LnX(u);
            if (strictlyInside(iis, x)) return x;
            if (stopRequested(stop, rejected)) return AbandonedDraw;
        }
    case DistKind::dkLognormal:
        for (;;) {
            x = ExpX(random.NormalDeviate() * iis.Scale + iis.Loc);
            if (strictlyInside(iis, x)) return x;
            if (stopRequested(stop, rejected)) return AbandonedDraw;
        }
    case DistKind::dkNormal:
        for (;;) {
            x = random.NormalDeviate() * iis.Scale + iis.Loc;
            if (strictlyInside(iis, x)) return x;
            if (stopRequested(stop, rejected)) return AbandonedDraw;
        }
    case DistKind::dkUniform:
        for (;;) {
            x = random.Random() * iis.Scale + iis.Loc;
            if (strictlyInside(iis, x)) return x;
            if (stopRequested(stop, rejected)) return AbandonedDraw;
        }
    default:
        break;
    }
    // A draw u in [0, 1) on the generator's 2^-32 grid, taken at the middle of its grid cell
    // so that the probability lies strictly inside (0, 1).
    if (IsInversionKind(iis.Kind)) return drawByInversion(iis, random.Random() + 0x1p-33L);
    return 0;
}

Extended LowerExtreme(const TIis& iis) {
    switch (iis.Kind) {
    case DistKind::dkConstant:
        return iis.Loc;
    case DistKind::dkDiscrete:
    case DistKind::dkContinuous:
        return iis.Min;
    case DistKind::dkExponential:
    case DistKind::dkLognormal:
    case DistKind::dkNormal:
    case DistKind::dkUniform:
        return iis.Min + iis.Scale * extremeEpsilon;
    default:
        // The inversion kinds: the values a draw of probability ε from either end gives.
        return IsInversionKind(iis.Kind) ? drawByInversion(iis, extremeEpsilon) : 0;
    }
}

Extended UpperExtreme(const TIis& iis, std::int64_t lastStep) {
    switch (iis.Kind) {
    case DistKind::dkConstant:
        return iis.Loc;
    case DistKind::dkDiscrete:
    case DistKind::dkContinuous:
        return iis.Max;
    case DistKind::dkStepNumber:
        return static_cast<Extended>(lastStep);
    case DistKind::dkExponential:
    case DistKind::dkLognormal:
    case DistKind::dkNormal:
    case DistKind::dkUniform:
        return iis.Max - iis.Scale * extremeEpsilon;
    default:
        return IsInversionKind(iis.Kind) ? drawByInversion(iis, 1 - extremeEpsilon) : 0;
    }
}

} // namespace probex
