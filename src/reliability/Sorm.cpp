#include "reliability/Sorm.h"

#include "reliability/Form.h"
#include "reliability/LimitState.h"
#include "reliability/ReliabilityContext.h"
#include "reliability/ReliabilityResult.h"
#include "reliability/StandardNormal.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <tuple>

namespace probex {

namespace {

using Vector = std::vector<Extended>;

constexpr Extended HessianStep = 1e-4L; // about the fourth root of the extended epsilon
constexpr Extended NotDefined = std::numeric_limits<Extended>::quiet_NaN();

/// An orthonormal basis of the plane across `alpha` (n − 1 vectors), by Gram-Schmidt over α
/// and the unit vectors.
std::vector<Vector> TangentBasis(const Vector& alpha) {
    const std::size_t n = alpha.size();
    std::vector<Vector> basis{alpha};
    for (std::size_t e = 0; e < n && basis.size() < n; ++e) {
        Vector v(n, 0);
        v[e] = 1;
        for (const Vector& b : basis) {
            Extended d = 0;
            for (std::size_t i = 0; i < n; ++i)
                d += v[i] * b[i];
            for (std::size_t i = 0; i < n; ++i)
                v[i] -= d * b[i];
        }
        Extended length = 0;
        for (const Extended c : v)
            length += c * c;
        length = std::sqrt(length);
        if (length < 1e-6L) continue; // e lies (almost) in the span already
        for (Extended& c : v)
            c /= length;
        basis.push_back(std::move(v));
    }
    basis.erase(basis.begin());
    return basis;
}

} // namespace

std::vector<Extended> SymmetricEigenvalues(std::vector<Extended> a, std::size_t n) {
    const auto at = [&a, n](std::size_t i, std::size_t j) -> Extended& { return a[i * n + j]; };
    for (int sweep = 0; sweep < 100; ++sweep) {
        Extended off = 0;
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = i + 1; j < n; ++j)
                off += at(i, j) * at(i, j);
        if (off < 1e-36L) break;
        for (std::size_t p = 0; p < n; ++p) {
            for (std::size_t q = p + 1; q < n; ++q) {
                if (at(p, q) == 0) continue;
                const Extended theta = (at(q, q) - at(p, p)) / (2 * at(p, q));
                const Extended t =
                    (theta >= 0 ? 1 : -1) / (std::fabs(theta) + std::sqrt(theta * theta + 1));
                const Extended c = 1 / std::sqrt(t * t + 1);
                const Extended s = t * c;
                for (std::size_t k = 0; k < n; ++k) {
                    const Extended kp = at(k, p), kq = at(k, q);
                    at(k, p) = c * kp - s * kq;
                    at(k, q) = s * kp + c * kq;
                }
                for (std::size_t k = 0; k < n; ++k) {
                    const Extended pk = at(p, k), qk = at(q, k);
                    at(p, k) = c * pk - s * qk;
                    at(q, k) = s * pk + c * qk;
                }
            }
        }
    }
    Vector values(n);
    for (std::size_t i = 0; i < n; ++i)
        values[i] = at(i, i);
    return values;
}

TSormProbabilities SormProbabilities(Extended beta, const std::vector<Extended>& curvatures) {
    const Extended tail = NormalCdf(-beta);
    const Extended density = NormalDensity(beta);
    const Extended psi = density / tail;
    Extended breitung = 1, hohenbichler = 1, shifted = 1;
    std::complex<Extended> imaginary = 1;
    bool defined = true;
    for (const Extended k : curvatures) {
        const Extended b = 1 + beta * k;
        const Extended h = 1 + psi * k;
        const Extended s = 1 + (beta + 1) * k;
        if (!(b > 0) || !(h > 0) || !(s > 0)) defined = false;
        breitung /= std::sqrt(b);
        hohenbichler /= std::sqrt(h);
        shifted /= std::sqrt(s);
        imaginary /= std::sqrt(std::complex<Extended>(1 + beta * k, k));
    }
    TSormProbabilities p;
    if (!defined) return {NotDefined, NotDefined, NotDefined};
    p.Breitung = tail * breitung;
    p.Hohenbichler = tail * hohenbichler;
    const Extended common = beta * tail - density;
    p.Tvedt = p.Breitung + common * (breitung - shifted) +
              (beta + 1) * common * (breitung - imaginary.real());
    return p;
}

std::uint8_t RunSorm(const TReliabilityContext& context, const TDesignPoint& design,
                     TReliabilityResult& result) {
    TLimitState& ls = context.limitState;
    const std::size_t n = design.u.size();
    Extended gradientNorm = 0;
    for (const Extended c : design.gradient)
        gradientNorm += c * c;
    gradientNorm = std::sqrt(gradientNorm);
    result.HasSorm = true;
    result.Curvatures.clear();
    if (n >= 2 && gradientNorm > 0) {
        const std::vector<Vector> basis = TangentBasis(design.alpha);
        const std::size_t m = basis.size();
        // Second differences along the tangent directions, each step scaled to the point.
        Extended scale = 1;
        for (const Extended c : design.u)
            scale = std::max(scale, std::fabs(c));
        const Extended h = HessianStep * scale;
        const auto g = [&](const Vector& direction1, Extended s1, const Vector& direction2,
                           Extended s2, Extended& value) {
            Vector p = design.u;
            for (std::size_t i = 0; i < n; ++i)
                p[i] += s1 * direction1[i] + s2 * direction2[i];
            TLimitState::Value v;
            const std::uint8_t code = ls.evaluate(p.data(), v);
            value = v.g;
            return code;
        };
        Vector a(m * m, 0);
        const Extended g0 = design.g;
        for (std::size_t i = 0; i < m; ++i) {
            Extended up = 0, down = 0;
            if (const std::uint8_t code = g(basis[i], h, basis[i], 0, up); code != 0) return code;
            if (const std::uint8_t code = g(basis[i], -h, basis[i], 0, down); code != 0)
                return code;
            a[i * m + i] = (up - 2 * g0 + down) / (h * h);
            for (std::size_t j = 0; j < i; ++j) {
                Extended pp = 0, pm = 0, mp = 0, mm = 0;
                for (auto [s1, s2, out] : {std::tuple{h, h, &pp}, std::tuple{h, -h, &pm},
                                           std::tuple{-h, h, &mp}, std::tuple{-h, -h, &mm}})
                    if (const std::uint8_t code = g(basis[i], s1, basis[j], s2, *out); code != 0)
                        return code;
                a[i * m + j] = a[j * m + i] = (pp - pm - mp + mm) / (4 * h * h);
            }
        }
        for (Extended& c : a)
            c /= gradientNorm;
        result.Curvatures = SymmetricEigenvalues(std::move(a), m);
        std::sort(result.Curvatures.begin(), result.Curvatures.end());
    }
    const TSormProbabilities p = SormProbabilities(result.Beta, result.Curvatures);
    result.Breitung = p.Breitung;
    result.Hohenbichler = p.Hohenbichler;
    result.Tvedt = p.Tvedt;
    result.Evaluations = ls.evaluations();
    result.Estimate.Steps = result.Evaluations;
    if (std::isnan(p.Breitung)) {
        result.Warnings.push_back("SORM: the curvatures at the design point leave the "
                                  "second-order formulas undefined (1 + beta k <= 0); the "
                                  "probability shown is FORM's.");
        return 0;
    }
    result.Estimate.Probability = result.Estimate.Lower = result.Estimate.Upper = p.Breitung;
    context.report(result.Estimate);
    return 0;
}

} // namespace probex
