#include "variables/InversionKinds.h"

#include "variables/DistributionFunctions.h"
#include "variables/TailDistribution.h"

#include <boost/math/special_functions/gamma.hpp>

#include <cmath>
#include <numbers>

namespace probex {

namespace {

constexpr Extended smallestWeibullCoVar = 1e-6L;
constexpr Extended largestWeibullCoVar = 1e6L;
// Outside these the gamma law's inversion slows to milliseconds (shape above 1e4) or its
// values underflow to 0 (shape below 1e-4).
constexpr Extended smallestGammaCoVar = 0.01L;
constexpr Extended largestGammaCoVar = 100;
constexpr Extended smallMass = 1e-6L;

bool isTruncated(DistKind kind) {
    return kind == DistKind::dkGumbel || kind == DistKind::dkGumbelMin ||
           kind == DistKind::dkWeibull || kind == DistKind::dkGamma;
}

Extended lnGamma(Extended x) {
    return boost::math::lgamma(x, TailPolicy());
}

// Squared coefficient of variation of a Weibull law with shape k; falls as k grows.
Extended weibullCoVarSquared(Extended k) {
    return std::expm1(lnGamma(1 + 2 / k) - 2 * lnGamma(1 + 1 / k));
}

// The shape whose coefficient of variation is coVar, by bisection on ln k: the bracket
// 0.02..1e7 holds every allowed coefficient, and the function is monotonic.
Extended weibullShape(Extended coVar) {
    const Extended target = coVar * coVar;
    Extended lo = std::log(0.02L);
    Extended hi = std::log(1e7L);
    for (int i = 0; i < 200; ++i) {
        const Extended mid = (lo + hi) / 2;
        if (mid == lo || mid == hi) break;
        (weibullCoVarSquared(std::exp(mid)) > target ? lo : hi) = mid;
    }
    return std::exp((lo + hi) / 2);
}

void applyCoVarRule(TIis& iis) {
    iis.StatShown.CoVar = iis.Mean != 0;
    iis.CoVar = iis.Mean != 0 ? iis.StDev / iis.Mean : 0;
}

// Median, skewness and kurtosis of the untruncated law; with `moments` its mean and
// deviation too (the kinds entered by their mode).
void fillStatistics(TIis& iis, bool moments) {
    VisitTails(iis, [&](const auto& tails) {
        if (moments) {
            iis.Mean = tails.mean();
            iis.StDev = std::sqrt(tails.variance());
        }
        iis.Median = tails.median();
        iis.Skew = tails.skewness();
        iis.Kurt = tails.kurtosisExcess();
        return Extended(0);
    });
    iis.Variance = iis.StDev * iis.StDev;
    applyCoVarRule(iis);
}

std::string deriveShapes(TIis& iis) {
    const Extended pi = std::numbers::pi_v<Extended>;
    const Extended eulerGamma = std::numbers::egamma_v<Extended>;
    const Extended width = iis.Max - iis.Min;
    switch (iis.Kind) {
    case DistKind::dkGumbel:
    case DistKind::dkGumbelMin: {
        if (!(iis.StDev > 0)) return "Must be StDev>0!";
        iis.Scale = iis.StDev * std::sqrt(6.0L) / pi;
        const Extended shift = eulerGamma * iis.Scale;
        iis.Loc = iis.Kind == DistKind::dkGumbel ? iis.Mean - shift : iis.Mean + shift;
        return {};
    }
    case DistKind::dkWeibull: {
        if (!(iis.StDev > 0)) return "Must be StDev>0!";
        if (!(iis.Mean > 0)) return "Must be Mean>0!";
        const Extended coVar = iis.StDev / iis.Mean;
        if (!(coVar >= smallestWeibullCoVar && coVar <= largestWeibullCoVar))
            return "Must be 1E-6<=StDev/Mean<=1E6!";
        iis.Shape = weibullShape(coVar);
        iis.Scale = iis.Mean / boost::math::tgamma(1 + 1 / iis.Shape, TailPolicy());
        iis.Loc = 0;
        return {};
    }
    case DistKind::dkGamma: {
        if (!(iis.StDev > 0)) return "Must be StDev>0!";
        if (!(iis.Mean > 0)) return "Must be Mean>0!";
        const Extended coVar = iis.StDev / iis.Mean;
        if (!(coVar >= smallestGammaCoVar && coVar <= largestGammaCoVar))
            return "Must be 0.01<=StDev/Mean<=100!";
        iis.Shape = (iis.Mean / iis.StDev) * (iis.Mean / iis.StDev);
        iis.Scale = iis.StDev * (iis.StDev / iis.Mean);
        iis.Loc = 0;
        return {};
    }
    case DistKind::dkBeta: {
        if (!(iis.Mean > iis.Min && iis.Mean < iis.Max)) return "Must be Min<Mean<Max!";
        if (!(iis.StDev > 0)) return "Must be StDev>0!";
        // The widest a law on [Min, Max] with this mean can spread is two points at the ends.
        const Extended below = iis.Mean - iis.Min;
        const Extended above = iis.Max - iis.Mean;
        const Extended room = below * above / (iis.StDev * iis.StDev) - 1;
        if (!(room > 0)) return "Must be StDev<sqrt((Mean-Min)*(Max-Mean))!";
        iis.Shape = below / width * room;
        iis.Shape2 = above / width * room;
        iis.Loc = iis.Min;
        iis.Scale = width;
        return {};
    }
    case DistKind::dkTriangular:
    case DistKind::dkPert:
        if (!(iis.Mode >= iis.Min && iis.Mode <= iis.Max)) return "Must be Min<=Mode<=Max!";
        iis.Loc = iis.Min;
        iis.Scale = width;
        iis.Shape = 1 + 4 * (iis.Mode - iis.Min) / width;
        iis.Shape2 = 1 + 4 * (iis.Max - iis.Mode) / width;
        return {};
    default:
        return {};
    }
}

} // namespace

bool IsInversionKind(DistKind kind) {
    return isTruncated(kind) || kind == DistKind::dkBeta || EntersMode(kind);
}

bool EntersMode(DistKind kind) {
    return kind == DistKind::dkTriangular || kind == DistKind::dkPert;
}

void SetInversionDefaults(TIis& iis) {
    struct Defaults {
        DistKind kind;
        Extended min, max, mean, stDev, mode;
    };
    static constexpr Defaults defaults[] = {
        {DistKind::dkGumbel, -3, 8, 0, 1, 0},    {DistKind::dkGumbelMin, -8, 3, 0, 1, 0},
        {DistKind::dkWeibull, 0, 10, 2, 1, 0},   {DistKind::dkGamma, 0, 10, 2, 1, 0},
        {DistKind::dkBeta, 0, 1, 0.5L, 0.2L, 0}, {DistKind::dkTriangular, 0, 1, 0, 0, 0.5L},
        {DistKind::dkPert, 0, 1, 0, 0, 0.5L},
    };
    for (const Defaults& d : defaults) {
        if (d.kind != iis.Kind) continue;
        iis.Min = d.min;
        iis.Max = d.max;
        iis.Mean = d.mean;
        iis.StDev = d.stDev;
        iis.Mode = d.mode;
    }
    iis.StatShown = {true, true, true, true, true, true, true};
}

std::string DeriveInversionKind(TIis& iis) {
    if (std::string problem = deriveShapes(iis); !problem.empty()) return problem;
    fillStatistics(iis, EntersMode(iis.Kind));
    StoreBoundTails(iis);
    // Inversion draws any positive mass in one step, but none at all leaves nothing to draw.
    if (!(iis.Bounds.Mass > 0)) return "No probability lies between Min and Max!";
    return {};
}

std::string InversionKindWarning(const TIis& iis) {
    std::string warning;
    if (isTruncated(iis.Kind)) {
        if (iis.Mean < iis.Min) warning = "Should be Min<Mean!";
        if (iis.Mean > iis.Max) warning = "Should be Max>Mean!";
    }
    // A shape within rounding of 1 (a straight density at that end) is not below it.
    constexpr Extended belowOne = 1 - 1e-12L;
    if (iis.Kind == DistKind::dkBeta && (iis.Shape < belowOne || iis.Shape2 < belowOne))
        warning = "The density is infinite at Min or Max!";
    if (isTruncated(iis.Kind) && !(iis.Bounds.Mass >= smallMass))
        warning += std::string(warning.empty() ? "" : "\n") +
                   "Less than 1e-6 of the distribution lies between Min and Max!";
    return warning;
}

} // namespace probex
