#pragma once

#include "engine/Extended.h"

#include <cstdint>

namespace probex {

/// The program's pseudo-random generator: a 32-bit linear congruential state (`RandSeed`)
/// and the second deviate of the last Box-Muller pair. Draw sequences are fixed bit for bit,
/// so a seed reproduces a run. One object serves the whole program; during a run only the
/// worker thread uses it.
class TRandom {
public:
    explicit TRandom(std::uint32_t seed = 0) : RandSeed(seed) {}

    /// Seeds from the milliseconds of the current UTC time of day and clears the cached
    /// deviate; done once at program start.
    void Randomize();

    /// Reseeds before a run from step 0. With `autoSeed` on nothing changes, so consecutive
    /// runs continue the sequence. Only the first generator choice ("Simple", 0) takes
    /// `seed1`, modulo 2^32; the cached deviate is cleared in every other case.
    void ApplySeed(bool autoSeed, std::int32_t generator, std::int64_t seed1);

    /// Real draw in [0, 1): the advanced state times 2^-32.
    Extended Random() {
        advance();
        return static_cast<Extended>(RandSeed) * 0x1p-32L;
    }

    /// Integer draw in 0..n-1: the upper half of the 64-bit product of the advanced state
    /// and n. A range below 1 gives 0.
    std::int32_t Random(std::int32_t n) {
        advance();
        if (n <= 0) return 0;
        return static_cast<std::int32_t>(
            (static_cast<std::uint64_t>(RandSeed) * static_cast<std::uint32_t>(n)) >> 32);
    }

    /// Standard normal deviate by Box-Muller; every second call returns the kept value of
    /// the pair without drawing.
    Extended NormalDeviate();

    void clearCachedDeviate() { m_hasCachedDeviate = false; }
    bool hasCachedDeviate() const { return m_hasCachedDeviate; }

    std::uint32_t RandSeed;

private:
    void advance() { RandSeed = RandSeed * 134775813u + 1u; }

    Extended m_cachedDeviate = 0;
    bool m_hasCachedDeviate = false;
};

} // namespace probex
