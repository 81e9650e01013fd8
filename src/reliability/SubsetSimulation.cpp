#include "reliability/SubsetSimulation.h"

#include "reliability/LimitState.h"
#include "reliability/ReliabilityContext.h"
#include "reliability/ReliabilityResult.h"
#include "reliability/StandardNormal.h"
#include "settings/NumberText.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace probex {

namespace {

constexpr std::int32_t ChainLength = 10; // 1 / the level probability 0.1
constexpr Extended LevelProbability = 0.1L;
constexpr Extended TargetAcceptance = 0.44L;

/// The samples of one level, chain after chain (sample c·ChainLength + l is step l of
/// chain c).
struct Level {
    std::vector<Extended> u; // row-major, n per sample
    std::vector<Extended> g;
    std::vector<char> fails;
};

/// The CoV² of a conditional probability p estimated from `indicator` over chains of
/// ChainLength correlated samples: (1 − p)/(N p)·(1 + γ).
Extended LevelVariance(const std::vector<char>& indicator, Extended p, bool chains) {
    const std::size_t total = indicator.size();
    const Extended base = (1 - p) / (static_cast<Extended>(total) * p);
    if (!chains || p >= 1) return base;
    const std::size_t count = total / ChainLength;
    const Extended r0 = p * (1 - p);
    Extended gamma = 0;
    for (std::int32_t k = 1; k < ChainLength; ++k) {
        Extended sum = 0;
        for (std::size_t c = 0; c < count; ++c)
            for (std::int32_t l = 0; l + k < ChainLength; ++l)
                sum += indicator[c * ChainLength + static_cast<std::size_t>(l)] *
                       indicator[c * ChainLength + static_cast<std::size_t>(l + k)];
        const Extended rk =
            sum / static_cast<Extended>(total - static_cast<std::size_t>(k) * count) - p * p;
        gamma += 2 * (1 - static_cast<Extended>(k) / ChainLength) * rk / r0;
    }
    return base * (1 + std::max<Extended>(gamma, 0));
}

TProbabilityEstimate SubsetEstimate(Extended p, Extended cov2, std::int64_t evaluations) {
    TProbabilityEstimate e;
    e.Steps = evaluations;
    e.Probability = p;
    e.Lower = e.Upper = p;
    if (p > 0) {
        // The product of the levels is skewed: a lognormal interval stays above 0.
        const Extended s = std::sqrt(std::log1p(cov2));
        e.Lower = p * std::exp(-WilsonZ95 * s);
        e.Upper = std::min<Extended>(p * std::exp(WilsonZ95 * s), 1);
        e.HasCoV = true;
        e.CoV = std::sqrt(cov2);
    } else {
        e.Upper = 1;
    }
    return e;
}

} // namespace

std::uint8_t RunSubsetSimulation(const TReliabilityContext& context, TReliabilityResult& result) {
    TLimitState& ls = context.limitState;
    TNormalStream& random = context.random;
    const std::size_t n = static_cast<std::size_t>(ls.dimension());
    const std::size_t seeds = static_cast<std::size_t>(
        std::max<std::int32_t>(1, context.settings.SubsetSamples / ChainLength));
    const std::size_t total = seeds * ChainLength;
    result.HasInterval = true;

    Level level;
    level.u.resize(total * n);
    level.g.resize(total);
    level.fails.resize(total);
    TLimitState::Value value;
    for (std::size_t s = 0; s < total; ++s) {
        Extended* u = &level.u[s * n];
        for (std::size_t i = 0; i < n; ++i)
            u[i] = random.next();
        if (const std::uint8_t code = ls.evaluate(u, value); code != 0) {
            result.Evaluations = ls.evaluations();
            return code;
        }
        level.g[s] = value.g;
        level.fails[s] = value.fails;
    }

    Extended probability = 1;
    Extended cov2 = 0;
    bool chained = false; // the first level's samples are independent
    Extended lambda = 0.6L;
    std::vector<std::size_t> order(total);
    std::vector<char> indicator(total);
    std::vector<Extended> candidate(n), spread(n), sigma(n), rho(n);
    for (std::int32_t levelNumber = 1;; ++levelNumber) {
        result.Levels = levelNumber;
        const std::size_t failing =
            static_cast<std::size_t>(std::count(level.fails.begin(), level.fails.end(), 1));
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(seeds),
                          order.end(),
                          [&](std::size_t a, std::size_t b) { return level.g[a] < level.g[b]; });
        const Extended threshold = level.g[order[seeds - 1]];
        const bool last = failing >= seeds || threshold <= 0 ||
                          levelNumber >= std::max(1, context.settings.SubsetMaxLevels);
        if (last) {
            const Extended p = static_cast<Extended>(failing) / static_cast<Extended>(total);
            for (std::size_t s = 0; s < total; ++s)
                indicator[s] = level.fails[s];
            if (p > 0) cov2 += LevelVariance(indicator, p, chained);
            probability *= p;
            if (failing < seeds && threshold > 0)
                result.Warnings.push_back("Subset simulation did not reach the failure domain "
                                          "in " +
                                          FormatInteger(levelNumber) +
                                          " levels; the probability is at most the product of "
                                          "the levels reached.");
            break;
        }
        for (std::size_t s = 0; s < total; ++s)
            indicator[s] = level.g[s] <= threshold;
        cov2 += LevelVariance(indicator, LevelProbability, chained);
        probability *= LevelProbability;
        context.report(SubsetEstimate(probability, cov2, ls.evaluations()));

        // The seeds' spread in each direction sets the proposal's.
        for (std::size_t i = 0; i < n; ++i) {
            Extended mean = 0, square = 0;
            for (std::size_t k = 0; k < seeds; ++k) {
                const Extended v = level.u[order[k] * n + i];
                mean += v;
                square += v * v;
            }
            mean /= static_cast<Extended>(seeds);
            spread[i] = std::sqrt(
                std::max<Extended>(square / static_cast<Extended>(seeds) - mean * mean, 0));
        }
        Level next;
        next.u.resize(total * n);
        next.g.resize(total);
        next.fails.resize(total);
        // Seeds in a random order, so that the tuning of the spread sees no trend.
        std::vector<std::size_t> seedOrder(order.begin(),
                                           order.begin() + static_cast<std::ptrdiff_t>(seeds));
        for (std::size_t k = seeds; k > 1; --k)
            std::swap(
                seedOrder[k - 1],
                seedOrder[static_cast<std::size_t>(random.uniform() * static_cast<Extended>(k)) %
                          k]);
        const std::size_t adaptEvery = std::max<std::size_t>(1, seeds / 10);
        std::int64_t accepted = 0, proposed = 0;
        std::int32_t adaptations = 0;
        for (std::size_t c = 0; c < seeds; ++c) {
            if (c % adaptEvery == 0) {
                if (proposed > 0) {
                    ++adaptations;
                    const Extended rate =
                        static_cast<Extended>(accepted) / static_cast<Extended>(proposed);
                    lambda = std::exp(std::log(lambda) +
                                      (rate - TargetAcceptance) /
                                          std::sqrt(static_cast<Extended>(adaptations)));
                    accepted = proposed = 0;
                }
                for (std::size_t i = 0; i < n; ++i) {
                    sigma[i] = std::min<Extended>(1, lambda * spread[i]);
                    rho[i] = std::sqrt(1 - sigma[i] * sigma[i]);
                }
            }
            const std::size_t from = seedOrder[c];
            std::size_t at = c * ChainLength;
            std::copy_n(&level.u[from * n], n, &next.u[at * n]);
            next.g[at] = level.g[from];
            next.fails[at] = level.fails[from];
            for (std::int32_t l = 1; l < ChainLength; ++l) {
                const std::size_t previous = at++;
                for (std::size_t i = 0; i < n; ++i)
                    candidate[i] = rho[i] * next.u[previous * n + i] + sigma[i] * random.next();
                if (const std::uint8_t code = ls.evaluate(candidate.data(), value); code != 0) {
                    result.Estimate = SubsetEstimate(probability, cov2, ls.evaluations());
                    result.Evaluations = ls.evaluations();
                    return code;
                }
                ++proposed;
                if (value.g <= threshold) {
                    ++accepted;
                    std::copy_n(candidate.data(), n, &next.u[at * n]);
                    next.g[at] = value.g;
                    next.fails[at] = value.fails;
                } else {
                    std::copy_n(&next.u[previous * n], n, &next.u[at * n]);
                    next.g[at] = next.g[previous];
                    next.fails[at] = next.fails[previous];
                }
            }
        }
        level = std::move(next);
        chained = true;
    }
    result.Estimate = SubsetEstimate(probability, cov2, ls.evaluations());
    result.Evaluations = ls.evaluations();
    context.report(result.Estimate);
    return 0;
}

} // namespace probex
