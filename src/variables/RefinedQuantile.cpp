#include "variables/RefinedQuantile.h"

#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/gamma.hpp>

#include <cmath>
#include <exception>
#include <limits>

namespace probex {

namespace {

namespace bm = boost::math;

// The polishing runs in double precision: an extended-precision tail costs ten times as
// much (its powers go through the x87 powl), and double leaves an error near 1e-16 of x.
using Start =
    boost::math::policies::normalise<TailPolicy, boost::math::policies::digits2<32>>::type;

constexpr double notSettled = std::numeric_limits<double>::quiet_NaN();
// A step this small relative to x leaves an error of its cube after a Halley step: below
// the rounding of double.
constexpr double settledStep = 1e-6;
constexpr int mostSteps = 4;
// Below this a tail in double has lost digits to gradual underflow.
constexpr Extended smallestTarget = std::numeric_limits<double>::min() * 0x1p53;
// Beyond these shapes the continued fraction needs many terms; the root search copes.
constexpr double largestBetaShapes = 1e5;

// Halley steps from x on g(x) = tail(x) − target; `tail` returns g and sets g′ and g″/g′.
// NaN when a step leaves lo..hi or they do not settle.
template <class Tail> double polish(double x, double lo, double hi, Tail tail) {
    if (!(x > lo && x < hi)) return notSettled;
    for (int i = 0; i < mostSteps; ++i) {
        double slope = 0;
        double bend = 0;
        const double g = tail(x, slope, bend);
        if (!(slope != 0) || !std::isfinite(slope) || !std::isfinite(g)) return notSettled;
        const double newton = g / slope;
        const double damping = 1 - newton * bend / 2;
        // Far from the root Halley's correction can mislead; Newton's step is then taken.
        const double step = damping > 0.5 && damping < 2 ? newton / damping : newton;
        const double next = x - step;
        if (!(next > lo && next < hi)) return notSettled;
        if (std::fabs(step) <= settledStep * std::fabs(next)) return next;
        x = next;
    }
    return notSettled;
}

// The target stays in extended precision in the difference, so that rounding it to double
// costs nothing.
Extended gammaQuantile(const GammaLaw& y, Extended target, bool upper) {
    const double a = double(y.shape());
    double x = notSettled;
    if (target >= smallestTarget) {
        const double start = upper ? bm::gamma_q_inv(a, double(target), Start())
                                   : bm::gamma_p_inv(a, double(target), Start());
        x = polish(start, 0, std::numeric_limits<double>::infinity(),
                   [&](double v, double& slope, double& bend) {
                       double density = 0;
                       const double tail = bm::detail::gamma_incomplete_imp(a, v, true, upper,
                                                                            TailPolicy(), &density);
                       slope = upper ? -density : density;
                       bend = (a - 1) / v - 1;
                       return double(tail - target);
                   });
    }
    if (std::isnan(x))
        return upper ? bm::quantile(bm::complement(y, target)) : bm::quantile(y, target);
    return x * y.scale();
}

// The continued fraction converges fast below the mean of the law it is given, so the
// tail evaluated is the one on the far side of the mean from x.
double betaLower(double a, double b, double x, double& density) {
    const double rest = 1 - x;
    double power = 0;
    const double lower =
        x <= a / (a + b)
            ? bm::detail::ibeta_fraction2(a, b, x, rest, TailPolicy(), true, &power)
            : 1 - bm::detail::ibeta_fraction2(b, a, rest, x, TailPolicy(), true, &power);
    density = power / (x * rest);
    return lower;
}

double betaUpper(double a, double b, double x, double& density) {
    const double rest = 1 - x;
    double power = 0;
    const double upper =
        x >= a / (a + b)
            ? bm::detail::ibeta_fraction2(b, a, rest, x, TailPolicy(), true, &power)
            : 1 - bm::detail::ibeta_fraction2(a, b, x, rest, TailPolicy(), true, &power);
    density = power / (x * rest);
    return upper;
}

Extended betaQuantile(const BetaLaw& y, Extended target, bool upper) {
    const double a = double(y.alpha());
    const double b = double(y.beta());
    double x = notSettled;
    if (a <= largestBetaShapes && b <= largestBetaShapes && target >= smallestTarget) {
        const double start = upper ? bm::ibetac_inv(a, b, double(target), Start())
                                   : bm::ibeta_inv(a, b, double(target), Start());
        x = polish(start, 0, 1, [&](double v, double& slope, double& bend) {
            double density = 0;
            const double tail = upper ? betaUpper(a, b, v, density) : betaLower(a, b, v, density);
            slope = upper ? -density : density;
            bend = (a - 1) / v - (b - 1) / (1 - v);
            return double(tail - target);
        });
    }
    if (std::isnan(x)) {
        // Boost's root search raises, whatever the policy, for an upper tail far below the
        // range of double (1e-300 with shapes 5/3 and 13/3): such a tail is the support's end.
        try {
            return upper ? bm::quantile(bm::complement(y, target)) : bm::quantile(y, target);
        } catch (const std::exception&) {
            return upper ? Extended{1} : Extended{0};
        }
    }
    return x;
}

} // namespace

Extended Quantile(const GammaLaw& y, Extended t) {
    return gammaQuantile(y, t, false);
}

Extended ComplementQuantile(const GammaLaw& y, Extended s) {
    return gammaQuantile(y, s, true);
}

Extended Quantile(const BetaLaw& y, Extended t) {
    return betaQuantile(y, t, false);
}

Extended ComplementQuantile(const BetaLaw& y, Extended s) {
    return betaQuantile(y, s, true);
}

Extended Quantile(const WeibullLaw& y, Extended t) {
    if (!(t > 0 && t < 1)) return bm::quantile(y, t);
    return y.scale() * std::exp(std::log(-std::log1p(-t)) / y.shape());
}

Extended ComplementQuantile(const WeibullLaw& y, Extended s) {
    if (!(s > 0 && s < 1)) return bm::quantile(bm::complement(y, s));
    return y.scale() * std::exp(std::log(-std::log(s)) / y.shape());
}

} // namespace probex
