#pragma once

#include "engine/Extended.h"
#include "variables/RefinedQuantile.h"
#include "variables/Tiis.h"

#include <boost/math/distributions/beta.hpp>
#include <boost/math/distributions/exponential.hpp>
#include <boost/math/distributions/extreme_value.hpp>
#include <boost/math/distributions/gamma.hpp>
#include <boost/math/distributions/lognormal.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/triangular.hpp>
#include <boost/math/distributions/uniform.hpp>
#include <boost/math/distributions/weibull.hpp>

#include <limits>

namespace probex {

/// An untruncated distribution of X = Offset + Factor·Y, Y following a Boost distribution:
/// both tails and their inverses. A negative factor mirrors Y (smallest values).
template <class Dist> struct TTails {
    Dist Y;
    Extended Offset = 0;
    Extended Factor = 1;

    /// F(x) = P(X ≤ x).
    Extended lower(Extended x) const { return Factor > 0 ? below(y(x)) : above(y(x)); }
    /// S(x) = P(X > x).
    Extended upper(Extended x) const { return Factor > 0 ? above(y(x)) : below(y(x)); }
    /// The x where F(x) = t.
    Extended lowerQuantile(Extended t) const {
        return Offset + Factor * (Factor > 0 ? Quantile(Y, t) : ComplementQuantile(Y, t));
    }
    /// The x where S(x) = s.
    Extended upperQuantile(Extended s) const {
        return Offset + Factor * (Factor > 0 ? ComplementQuantile(Y, s) : Quantile(Y, s));
    }
    /// The density of X.
    Extended density(Extended x) const {
        const Extended v = y(x);
        const auto range = boost::math::support(Y);
        if (!(v > range.first && v < range.second)) return 0;
        return boost::math::pdf(Y, v) / (Factor > 0 ? Factor : -Factor);
    }

    Extended mean() const { return Offset + Factor * boost::math::mean(Y); }
    Extended variance() const { return Factor * Factor * boost::math::variance(Y); }
    Extended median() const { return Offset + Factor * boost::math::median(Y); }
    Extended skewness() const {
        return Factor > 0 ? boost::math::skewness(Y) : -boost::math::skewness(Y);
    }
    Extended kurtosisExcess() const { return boost::math::kurtosis_excess(Y); }

private:
    Extended y(Extended x) const { return (x - Offset) / Factor; }
    // Boost reports arguments outside the support as domain errors: they are settled here.
    Extended below(Extended v) const {
        const auto range = boost::math::support(Y);
        if (!(v > range.first)) return 0;
        if (!(v < range.second)) return 1;
        return boost::math::cdf(Y, v);
    }
    Extended above(Extended v) const {
        const auto range = boost::math::support(Y);
        if (!(v > range.first)) return 1;
        if (!(v < range.second)) return 0;
        return boost::math::cdf(boost::math::complement(Y, v));
    }
};

template <class Dist> TTails<Dist> MakeTails(Dist y, Extended offset = 0, Extended factor = 1) {
    return TTails<Dist>{y, offset, factor};
}

/// True for the kinds whose untruncated distribution VisitTails knows.
inline bool HasTailDistribution(DistKind kind) {
    switch (kind) {
    case DistKind::dkExponential:
    case DistKind::dkLognormal:
    case DistKind::dkNormal:
    case DistKind::dkUniform:
    case DistKind::dkGumbel:
    case DistKind::dkGumbelMin:
    case DistKind::dkWeibull:
    case DistKind::dkGamma:
    case DistKind::dkBeta:
    case DistKind::dkTriangular:
    case DistKind::dkPert:
        return true;
    default:
        return false;
    }
}

/// Calls f with the record's TTails (from its checked Loc, Scale and shapes); NaN for other
/// kinds.
template <class F> Extended VisitTails(const TIis& iis, F&& f) {
    namespace bm = boost::math;
    switch (iis.Kind) {
    case DistKind::dkExponential:
        return f(
            MakeTails(bm::exponential_distribution<Extended, TailPolicy>(1), iis.Loc, iis.Scale));
    case DistKind::dkLognormal:
        return f(MakeTails(bm::lognormal_distribution<Extended, TailPolicy>(iis.Loc, iis.Scale)));
    case DistKind::dkNormal:
        return f(MakeTails(bm::normal_distribution<Extended, TailPolicy>(iis.Loc, iis.Scale)));
    case DistKind::dkUniform:
        return f(MakeTails(
            bm::uniform_distribution<Extended, TailPolicy>(iis.Loc, iis.Loc + iis.Scale)));
    case DistKind::dkGumbel:
        return f(
            MakeTails(bm::extreme_value_distribution<Extended, TailPolicy>(iis.Loc, iis.Scale)));
    case DistKind::dkGumbelMin: // the mirror image of the standard largest-value law
        return f(MakeTails(bm::extreme_value_distribution<Extended, TailPolicy>(0, 1), iis.Loc,
                           -iis.Scale));
    case DistKind::dkWeibull:
        return f(MakeTails(bm::weibull_distribution<Extended, TailPolicy>(iis.Shape, iis.Scale)));
    case DistKind::dkGamma:
        return f(MakeTails(bm::gamma_distribution<Extended, TailPolicy>(iis.Shape, iis.Scale)));
    case DistKind::dkBeta:
    case DistKind::dkPert:
        return f(MakeTails(bm::beta_distribution<Extended, TailPolicy>(iis.Shape, iis.Shape2),
                           iis.Loc, iis.Scale));
    case DistKind::dkTriangular:
        return f(MakeTails(
            bm::triangular_distribution<Extended, TailPolicy>(iis.Min, iis.Mode, iis.Max)));
    default:
        return std::numeric_limits<Extended>::quiet_NaN();
    }
}

} // namespace probex
