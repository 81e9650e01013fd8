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

// The first state from which LnX takes the logarithm of u = state / 2^32 near 1: there
// |u - 1| <= Ln1pRange, and 1 - u is exact.
constexpr std::uint32_t NearOneFrom() {
    const Extended bound = (1 - x87::Ln1pRange) * 0x1p32L; // exact
    const auto below = static_cast<std::uint32_t>(bound);
    return below + (below < bound ? 1 : 0);
}

// ln x and the square root as LnX and std::sqrt take them for 0 < x < 1 and x >= 0, without
// their guards for arguments that cannot occur in a normal pair: ln x by fyl2xp1 on the exact
// x - 1 where |x - 1| <= Ln1pRange, else by fyl2x (fsqrt rounds correctly, as std::sqrt does).
Extended LnNearOne(Extended x) {
    Extended r;
    asm("fldln2\n\tfxch\n\tfyl2xp1" : "=t"(r) : "0"(x - 1) : "st(1)");
    return r;
}

Extended LnAwayFromOne(Extended x) {
    Extended r;
    asm("fldln2\n\tfxch\n\tfyl2x" : "=t"(r) : "0"(x) : "st(1)");
    return r;
}

Extended SquareRoot(Extended x) {
    asm("fsqrt" : "+t"(x));
    return x;
}

// sqrt(-2 ln u) for u = state / 2^32 in (0, 1), choosing the logarithm's instruction on the
// integer state, known well before u.
Extended BoxMullerRadius(std::uint32_t state, Extended u) {
    return SquareRoot(-2 * (state >= NearOneFrom() ? LnNearOne(u) : LnAwayFromOne(u)));
}

// k * pi/2 in the three parts of x87::ReduceQuarterPi, for the k = 0..4 that an angle in
// [0, 2 pi] rounds to; each product is exact, as it is there.
struct TQuarterTurn {
    Extended part1, part2, part3;
};
constexpr TQuarterTurn QuarterTurn(int k) {
    return {k * x87::PiHalf1, k * x87::PiHalf2, k * x87::PiHalf3};
}
constexpr TQuarterTurn QuarterTurns[5] = {QuarterTurn(0), QuarterTurn(1), QuarterTurn(2),
                                          QuarterTurn(3), QuarterTurn(4)};

// The k of x87::ReduceQuarterPi for theta = 2 pi u, u = state / 2^32: theta 2/pi rounds to
// 4u there, ties to even, for every state (checked over all 2^32), so k comes from the
// integer state without waiting for theta.
int QuarterTurnsOf(std::uint32_t state) {
    const std::uint64_t n = state;
    return static_cast<int>((n + (1u << 29) - 1 + ((n >> 30) & 1)) >> 30);
}

// `yes` if `condition`, else `no`, by a conditional move: a branch on a random condition is
// mispredicted half the time.
Extended Select(bool condition, Extended yes, Extended no) {
    asm("test %2, %2\n\tfcmovne %%st(1), %%st" : "+t"(no) : "u"(yes), "r"(int{condition}) : "cc");
    return no;
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

Extended TRandom::boxMullerPair() {
    // Zero draws are skipped: ln 0 is undefined.
    do {
        advance();
    } while (RandSeed == 0);
    const std::uint32_t state1 = RandSeed;
    const Extended u1 = static_cast<Extended>(state1) * 0x1p-32L;
    do {
        advance();
    } while (RandSeed == 0);
    const Extended u2 = static_cast<Extended>(RandSeed) * 0x1p-32L;
    const int turns = QuarterTurnsOf(RandSeed);
    // What SinCosX(theta) gives, without its guard: theta in (0, 2 pi) needs no library
    // reduction, and its quarter turns come from the state. The quadrant's swap and signs are
    // selected without a branch, which would be mispredicted three times in four; negating r
    // instead of a product is exact.
    const Extended r = BoxMullerRadius(state1, u1);
    const Extended theta = 2 * std::numbers::pi_v<Extended> * u2;
    const TQuarterTurn& turn = QuarterTurns[turns];
    const Extended reduced = ((theta - turn.part1) - turn.part2) - turn.part3;
    const int quadrant = turns & 3;
    Extended sinReduced, cosReduced;
    x87::SinCos(reduced, sinReduced, cosReduced);
    static constexpr float Sign[2] = {1.0f, -1.0f};
    const Extended rSin = r * Sign[quadrant >> 1];             // quadrants 2 and 3
    const Extended rCos = r * Sign[((quadrant + 1) >> 1) & 1]; // quadrants 1 and 2
    const bool odd = quadrant & 1;
    m_cachedDeviate = rSin * Select(odd, cosReduced, sinReduced);
    m_hasCachedDeviate = true;
    return rCos * Select(odd, sinReduced, cosReduced);
}

} // namespace probex
