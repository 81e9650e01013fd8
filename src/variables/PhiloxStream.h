#pragma once

#include "engine/Extended.h"

#include <Random123/philox.h>

#include <cstdint>

namespace probex {

/// The counter-based stream of the "Parallel" generator: Philox4x32-10 keyed by the two seeds.
/// A run is cut into blocks of PhiloxBlockSteps steps; the counter of a draw is
/// {n, step within the block, block index (low word), block index (high word)}, where n counts
/// the Philox calls of the step. So every draw of a step depends only on the seeds and the
/// step's number, and a generator can be placed at any step or block at once.
/// Every draw takes 64 bits: two 32-bit words of a call, the first the upper half.
class TPhiloxStream {
public:
    /// Steps per block. Part of what a seed draws: changing it changes every value.
    static constexpr std::int64_t PhiloxBlockSteps = 4096;

    void setKey(std::uint32_t seed1, std::uint32_t seed2) {
        m_key = {{seed1, seed2}};
        m_used = 4;
    }
    std::uint32_t key(int i) const { return m_key[i]; }

    /// Places the stream at the first draw of a step (steps count from 1).
    void seekStep(std::int64_t step) {
        const std::uint64_t index = static_cast<std::uint64_t>(step - 1);
        const std::uint64_t block = index / PhiloxBlockSteps;
        m_counter = {{0, static_cast<std::uint32_t>(index % PhiloxBlockSteps),
                      static_cast<std::uint32_t>(block), static_cast<std::uint32_t>(block >> 32)}};
        m_used = 4; // the next draw calls Philox with this counter
    }
    /// Places the stream at the first draw of a block's first step (blocks count from 0).
    void seekBlock(std::int64_t block) { seekStep(block * PhiloxBlockSteps + 1); }

    /// The next 64 bits of the step's stream.
    std::uint64_t next() {
        if (m_used == 4) {
            m_words = r123::Philox4x32()(m_counter, m_key);
            ++m_counter[0];
            m_used = 0;
        }
        const std::uint64_t bits = std::uint64_t{m_words[m_used]} << 32 | m_words[m_used + 1];
        m_used += 2;
        return bits;
    }

    /// Real draw in the open interval (0, 1): the 64 bits with the lowest set, times 2^-64.
    /// An 80-bit extended number holds every such value exactly, and 1 - u is one of them too.
    Extended real() { return centredBits() * 0x1p-64L + 0.5L; }

    /// 2u - 1 for the same draw u, in (-1, 1): exact, as is real().
    Extended centred() { return centredBits() * 0x1p-63L; }

    /// Integer draw in 0..n-1 (0 for n below 1): the upper word times n, its upper half.
    std::int32_t integer(std::int32_t n) {
        const std::uint64_t bits = next();
        if (n <= 0) return 0;
        return static_cast<std::int32_t>((bits >> 32) * static_cast<std::uint32_t>(n) >> 32);
    }

private:
    /// The draw, lowest bit set, less 2^63 as a signed number: converting an unsigned 64-bit
    /// number would branch on its top bit, at random.
    Extended centredBits() {
        return static_cast<Extended>(
            static_cast<std::int64_t>((next() | 1u) ^ 0x8000000000000000u));
    }

    r123::Philox4x32::ctr_type m_counter{{0, 0, 0, 0}};
    r123::Philox4x32::key_type m_key{{0, 0}};
    r123::Philox4x32::ctr_type m_words{{0, 0, 0, 0}};
    int m_used = 4; // words of m_words already handed out
};

} // namespace probex
