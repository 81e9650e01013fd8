#include "reliability/Form.h"

#include "reliability/LimitState.h"
#include "reliability/ReliabilityContext.h"
#include "reliability/ReliabilityResult.h"
#include "reliability/StandardNormal.h"
#include "settings/NumberText.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace probex {

namespace {

using Vector = std::vector<Extended>;

constexpr Extended GradientStep = 1e-6L; // about the cube root of the extended epsilon
constexpr Extended Tolerance = 1e-6L;
constexpr int MaxHalvings = 30;

Extended Dot(const Vector& a, const Vector& b) {
    Extended s = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        s += a[i] * b[i];
    return s;
}

Extended Norm(const Vector& a) {
    return std::sqrt(Dot(a, a));
}

std::uint8_t ValueAt(TLimitState& limitState, const Vector& u, Extended& g) {
    TLimitState::Value value;
    const std::uint8_t code = limitState.evaluate(u.data(), value);
    g = value.g;
    return code;
}

TProbabilityEstimate FormPoint(Extended beta, std::int64_t evaluations) {
    TProbabilityEstimate e;
    e.Steps = evaluations;
    e.Probability = NormalCdf(-beta);
    e.Lower = e.Upper = e.Probability;
    return e;
}

/// One design-point search from `start`; progress is reported when `report` is set.
std::uint8_t Search(const TReliabilityContext& context, Vector u, bool report, TDesignPoint& out) {
    TLimitState& ls = context.limitState;
    const std::int32_t maxIter = std::max(1, context.settings.FormMaxIter);
    Extended g = 0;
    Vector grad;
    if (const std::uint8_t code = LimitStateGradient(context, u, g, grad); code != 0) return code;
    const Extended gScale = g != 0 ? std::fabs(g) : 1;
    out = {};
    Vector previous;
    Extended previousNorm = 0;
    for (std::int32_t k = 0;; ++k) {
        const Extended gn = Norm(grad);
        out.u = u;
        out.g = g;
        out.gradient = grad;
        out.iterations = k;
        if (!(gn > 0) || !std::isfinite(gn)) return 0; // a flat limit state: no direction
        out.alpha.resize(u.size());
        for (std::size_t i = 0; i < u.size(); ++i)
            out.alpha[i] = -grad[i] / gn;
        out.beta = Dot(out.alpha, u);
        if (report) context.report(FormPoint(out.beta, ls.evaluations()));
        // On the surface, and u parallel to the gradient (its part across α vanishes).
        Extended across = 0;
        for (std::size_t i = 0; i < u.size(); ++i)
            across += std::pow(u[i] - out.beta * out.alpha[i], 2);
        const Extended uNorm = Norm(u);
        if (std::fabs(g) <= Tolerance * gScale &&
            std::sqrt(across) <= Tolerance * std::max<Extended>(1, uNorm)) {
            out.converged = true;
            return 0;
        }
        if (k >= maxIter) return 0;

        // HL-RF direction, then halve the step until the merit function decreases.
        const Extended factor = (Dot(grad, u) - g) / (gn * gn);
        Vector d(u.size());
        for (std::size_t i = 0; i < u.size(); ++i)
            d[i] = factor * grad[i] - u[i];
        const Extended c = 2 * std::max<Extended>(uNorm / gn, Norm(d) / gn) + 1 / gn;
        const auto merit = [c](const Vector& p, Extended gp) {
            return 0.5L * Dot(p, p) + c * std::fabs(gp);
        };
        const Extended m0 = merit(u, g);
        Vector next(u.size());
        // Where the surface is curved (κβ near 1) the full step overshoots and the iterates
        // zig-zag, each step reversing the last one. The step is then shortened to
        // 1/(1 + r), r the ratio of the two step lengths, which cancels the overshoot.
        Extended step = 1;
        const Extended dNorm = Norm(d);
        if (!previous.empty() && Dot(d, previous) < 0 && previousNorm > 0)
            step = 1 / (1 + std::min<Extended>(dNorm / previousNorm, 1));
        previous = d;
        previousNorm = dNorm;
        for (int h = 0; h <= MaxHalvings; ++h, step *= 0.5L) {
            for (std::size_t i = 0; i < u.size(); ++i)
                next[i] = u[i] + step * d[i];
            Extended gNext = 0;
            const std::uint8_t code = ValueAt(ls, next, gNext);
            if (code == TLimitState::Stopped) return code;
            // A point where the model fails counts as no decrease: the step shrinks.
            if (code == 0 && std::isfinite(gNext) && merit(next, gNext) < m0) break;
        }
        u = next;
        if (const std::uint8_t code = LimitStateGradient(context, u, g, grad); code != 0)
            return code;
    }
}

std::string BetaText(Extended beta) {
    return FormatShortest(std::round(beta * 1e6L) / 1e6L, '.');
}

} // namespace

std::uint8_t LimitStateGradient(const TReliabilityContext& context, const Vector& u, Extended& g,
                                Vector& gradient) {
    TLimitState& ls = context.limitState;
    if (const std::uint8_t code = ValueAt(ls, u, g); code != 0) return code;
    gradient.assign(u.size(), 0);
    Vector p = u;
    for (std::size_t i = 0; i < u.size(); ++i) {
        const Extended h = GradientStep * std::max<Extended>(1, std::fabs(u[i]));
        Extended up = 0, down = 0;
        p[i] = u[i] + h;
        if (const std::uint8_t code = ValueAt(ls, p, up); code != 0) return code;
        p[i] = u[i] - h;
        if (const std::uint8_t code = ValueAt(ls, p, down); code != 0) return code;
        p[i] = u[i];
        gradient[i] = (up - down) / (2 * h);
    }
    return 0;
}

std::uint8_t RunForm(const TReliabilityContext& context, TReliabilityResult& result,
                     TDesignPoint& design) {
    TLimitState& ls = context.limitState;
    const std::size_t n = static_cast<std::size_t>(ls.dimension());
    if (const std::uint8_t code = Search(context, Vector(n, 0), true, design); code != 0)
        return code;

    result.HasDesignPoint = true;
    result.Beta = design.beta;
    result.Converged = design.converged;
    result.Iterations = design.iterations;
    result.Estimate = FormPoint(design.beta, ls.evaluations());
    result.DesignPoint.clear();
    const Vector x = ls.inputsAt(design.u);
    for (std::size_t i = 0; i < n; ++i)
        result.DesignPoint.push_back({ls.mapping().inputs()[i].name, x[i], design.u[i],
                                      design.alpha.empty() ? 0 : design.alpha[i]});
    if (!design.converged)
        result.Warnings.push_back(
            "FORM did not converge in " + FormatInteger(design.iterations) +
            " iterations: the design point and beta are those of the last iteration.");

    // Other start points on the sphere of radius |β| (1 when β is near 0) look for a design
    // point nearer the origin, which a search from the origin alone can miss.
    const Extended radius = std::max<Extended>(1, std::fabs(design.beta));
    Extended nearest = std::fabs(design.beta);
    for (std::int32_t s = 0; s < context.settings.FormStarts && n > 0; ++s) {
        Vector start(n);
        for (Extended& v : start)
            v = context.random.next();
        const Extended length = Norm(start);
        for (Extended& v : start)
            v *= radius / length;
        TDesignPoint other;
        const std::uint8_t code = Search(context, start, false, other);
        if (code == TLimitState::Stopped) return code;
        if (code == 0 && other.converged && std::fabs(other.beta) < nearest)
            nearest = std::fabs(other.beta);
    }
    if (design.converged && nearest < std::fabs(design.beta) * (1 - 1e-4L) - 1e-6L)
        result.Warnings.push_back("FORM found beta " + BetaText(design.beta) +
                                  ", but a search from another start point found a design point "
                                  "with beta " +
                                  BetaText(nearest) +
                                  ": the limit state has more than one design point, and the "
                                  "probability may be underestimated.");
    result.Evaluations = ls.evaluations();
    result.Estimate.Steps = result.Evaluations;
    return 0;
}

} // namespace probex
