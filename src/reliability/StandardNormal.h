#pragma once

#include "engine/Extended.h"

#include <cstdint>
#include <random>

namespace probex {

/// Φ(u), the standard normal distribution function, from the tail nearer u so that a small
/// value keeps its digits.
Extended NormalCdf(Extended u);

/// φ(u), the standard normal density.
Extended NormalDensity(Extended u);

/// Standard normal deviates for the reliability methods: a 64-bit Mersenne twister and the
/// polar method, both fixed by the standard, so a seed gives the same points everywhere. The
/// run's own generator is not used: its 32-bit state repeats too soon for millions of
/// deviates in many dimensions, and its pairs lie on a lattice that shows in far tails.
class TNormalStream {
public:
    explicit TNormalStream(std::uint64_t seed) : m_engine(seed) {}

    Extended next();
    /// A uniform draw in (0, 1).
    Extended uniform();

private:
    std::mt19937_64 m_engine;
    Extended m_kept = 0;
    bool m_hasKept = false;
};

} // namespace probex
