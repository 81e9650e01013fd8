#include "variables/Random.h"

#include "engine/ExtendedMath.h"

#include <chrono>
#include <cmath>
#include <numbers>

namespace probex {

void TRandom::Randomize() {
    using namespace std::chrono;
    const auto sinceEpoch = duration_cast<milliseconds>(system_clock::now().time_since_epoch());
    constexpr std::int64_t msPerDay = 24LL * 60 * 60 * 1000;
    std::int64_t ms = sinceEpoch.count() % msPerDay;
    if (ms < 0) ms += msPerDay;
    RandSeed = static_cast<std::uint32_t>(ms);
    m_hasCachedDeviate = false;
}

namespace {

std::uint32_t Low32(std::int64_t value) {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(value));
}

} // namespace

void TRandom::ApplySeed(bool autoSeed, std::int32_t generator, std::int64_t seed1,
                        std::int64_t seed2) {
    const bool parallel = generator == GeneratorParallel;
    if (autoSeed && !parallel && !m_parallel) return;
    m_hasCachedDeviate = false;
    m_parallel = false;
    if (!parallel) {
        if (!autoSeed && generator == GeneratorSimple) RandSeed = Low32(seed1);
        return;
    }
    if (autoSeed) {
        // Fresh seeds from the time-seeded state, so every run from step 0 differs.
        advance();
        seed1 = RandSeed;
        advance();
        seed2 = RandSeed;
    }
    m_stream.setKey(Low32(seed1), Low32(seed2));
    m_stream.seekStep(1);
    m_parallel = true;
}

Extended TRandom::NormalDeviate() {
    if (m_hasCachedDeviate) {
        m_hasCachedDeviate = false;
        return m_cachedDeviate;
    }
    if (m_parallel) return parallelNormalPair();
    // Zero draws are skipped: ln 0 is undefined.
    Extended u1;
    do {
        u1 = Random();
    } while (u1 <= 0);
    Extended u2;
    do {
        u2 = Random();
    } while (u2 <= 0);
    const Extended r = std::sqrt(-2 * LnX(u1));
    const Extended theta = 2 * std::numbers::pi_v<Extended> * u2;
    Extended sinTheta, cosTheta;
    SinCosX(theta, sinTheta, cosTheta);
    m_cachedDeviate = r * sinTheta;
    m_hasCachedDeviate = true;
    return r * cosTheta;
}

Extended TRandom::parallelNormalPair() {
    // The polar method: no sine or cosine, whose x87 cost would dominate a step now that a
    // pair's second deviate often goes unused at the end of a step.
    Extended v1, v2, s;
    do {
        v1 = m_stream.centred(); // 2u - 1
        v2 = m_stream.centred();
        s = v1 * v1 + v2 * v2;
    } while (s >= 1 || s == 0);
    const Extended f = std::sqrt(-2 * LnX(s) / s);
    m_cachedDeviate = v2 * f;
    m_hasCachedDeviate = true;
    return v1 * f;
}

} // namespace probex
