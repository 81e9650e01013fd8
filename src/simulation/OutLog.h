#pragma once

#include "engine/Extended.h"

#include <cstddef>
#include <cstdint>

namespace probex {

/// Log of one output variable: one slot per simulation step, slot s-1 holding the value of
/// step s. Storing a value is a bounds check and a store; memory is only obtained by
/// allocate and grow, never on the per-step path. A slot holds the 10 bytes of the value
/// without the 6 bytes of padding a long double has in memory, so a log of 10^6 steps takes
/// 10 MB instead of 16 MB (and as many fewer fresh pages to fault in).
class TOutLog {
public:
    TOutLog() noexcept = default;
    ~TOutLog();
    TOutLog(const TOutLog&) = delete;
    TOutLog& operator=(const TOutLog&) = delete;
    TOutLog(TOutLog&& other) noexcept;
    TOutLog& operator=(TOutLog&& other) noexcept;

    /// Replaces the log by `size` slots holding 0. False (and an empty log) when the memory
    /// cannot be had; the caller reports it.
    [[nodiscard]] bool allocate(std::int32_t size) noexcept;

    /// Enlarges the log to `newSize` slots keeping every stored value; new slots hold 0.
    /// A smaller size changes nothing. False when the memory cannot be had; the log is then
    /// left as it was.
    [[nodiscard]] bool grow(std::int32_t newSize) noexcept;

    /// Frees the slots; the log is empty.
    void release() noexcept;

    std::int32_t size() const noexcept { return m_size; }

    /// Stores a value; a slot beyond the log is dropped, so a run that outlives its log
    /// keeps going without overwriting memory.
    void store(std::int32_t slot, Extended value) noexcept {
        if (static_cast<std::uint32_t>(slot) < static_cast<std::uint32_t>(m_size))
            asm("fstpt %0" : "=m"(m_values[slot]) : "t"(value) : "st");
    }

    /// The value of slot 0..size()-1.
    Extended operator[](std::int32_t slot) const noexcept {
        Extended value;
        asm("fldt %1" : "=t"(value) : "m"(m_values[slot]));
        return value;
    }

    /// The 10 value bytes of an extended number, as the x87 stores them.
    struct Slot {
        unsigned char bytes[10];
    };
    static_assert(sizeof(Slot) == 10);

private:
    Slot* m_values = nullptr;
    std::int32_t m_size = 0;
    void* m_block = nullptr;     // what was obtained from the system, for release
    std::size_t m_blockSize = 0; // its length in bytes
};

} // namespace probex
