#pragma once

#include "engine/Extended.h"
#include "variables/PhiloxStream.h"
#include "variables/ZigguratNormal.h"

#include <cstdint>

namespace probex {

/// The generator choices of the settings (`Generator`).
enum : std::int32_t { GeneratorSimple = 0, GeneratorParallel = 3 };

/// The program's pseudo-random generator: "Simple", a 32-bit linear congruential state
/// (`RandSeed`), or "Parallel", a counter-based stream placed at each step (TPhiloxStream);
/// with "Simple", the second deviate of the last Box-Muller pair. Draw sequences are fixed bit
/// for bit, so a seed reproduces a run. One object serves the whole program; during a run
/// only the worker thread uses it.
class TRandom {
public:
    explicit TRandom(std::uint32_t seed = 0) : RandSeed(seed) {}

    /// Seeds from the milliseconds of the current UTC time of day and clears the cached
    /// deviate; done once at program start.
    void Randomize();

    /// Reseeds before a run from step 0 and chooses the generator: "Parallel" (3) or else
    /// "Simple". Only the choice "Simple" (0) takes `seed1`, modulo 2^32; with `autoSeed` on
    /// the state is kept, so consecutive runs continue the sequence. "Parallel" is keyed by both
    /// seeds modulo 2^32; with `autoSeed` on by two fresh draws of the "Simple" state instead. The
    /// cached deviate is cleared unless "Simple" goes on as it was.
    void ApplySeed(bool autoSeed, std::int32_t generator, std::int64_t seed1,
                   std::int64_t seed2 = 0);

    bool parallel() const { return m_parallel; }
    TPhiloxStream& stream() { return m_stream; }

    /// Called before the draws of each step: "Parallel" moves to the step's own stream;
    /// "Simple" just goes on.
    void beginStep(std::int64_t step) {
        if (m_parallel) m_stream.seekStep(step);
    }

    /// Real draw: "Simple" in [0, 1), the advanced state times 2^-32; "Parallel" in (0, 1).
    Extended Random() {
        if (m_parallel) return m_stream.real();
        advance();
        return static_cast<Extended>(RandSeed) * 0x1p-32L;
    }

    /// Integer draw in 0..n-1: the upper half of the 64-bit product of the advanced state
    /// (the upper word of a "Parallel" draw) and n. A range below 1 gives 0.
    std::int32_t Random(std::int32_t n) {
        if (m_parallel) return m_stream.integer(n);
        advance();
        if (n <= 0) return 0;
        return static_cast<std::int32_t>(
            (static_cast<std::uint64_t>(RandSeed) * static_cast<std::uint32_t>(n)) >> 32);
    }

    /// Standard normal deviate: "Simple" by Box-Muller in pairs, every second call returning
    /// the kept value of the pair without drawing; "Parallel" one at a time by the ziggurat.
    Extended NormalDeviate() {
        if (m_parallel) return ZigguratNormal(m_stream);
        if (m_hasCachedDeviate) {
            m_hasCachedDeviate = false;
            return m_cachedDeviate;
        }
        return boxMullerPair();
    }

    void clearCachedDeviate() { m_hasCachedDeviate = false; }
    bool hasCachedDeviate() const { return m_hasCachedDeviate; }

    std::uint32_t RandSeed;

private:
    void advance() { RandSeed = RandSeed * 134775813u + 1u; }
    Extended boxMullerPair();

    Extended m_cachedDeviate = 0;
    bool m_hasCachedDeviate = false;
    bool m_parallel = false;
    TPhiloxStream m_stream;
};

} // namespace probex
