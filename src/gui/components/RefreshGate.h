#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <limits>

namespace probex {

/// At most one refresh per interval, and a question any thread may ask: the worker of a run
/// asks whether a refresh would be shown before it hands one over to the main thread, which
/// takes the refresh when it shows it.
class RefreshGate {
public:
    explicit RefreshGate(std::int64_t intervalMs) : m_interval(intervalMs) {}

    /// Whether more than the interval has passed since the last refresh taken (any thread).
    bool open() const {
        const std::int64_t last = m_last.load(std::memory_order_relaxed);
        return last == Never || now() - last > m_interval;
    }
    /// Whether a refresh is due now; if so the interval starts again.
    bool take() {
        if (!open()) return false;
        m_last.store(now(), std::memory_order_relaxed);
        return true;
    }
    /// The next refresh is due at once.
    void reopen() { m_last.store(Never, std::memory_order_relaxed); }

private:
    static constexpr std::int64_t Never = std::numeric_limits<std::int64_t>::min();
    static std::int64_t now() {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    std::int64_t m_interval;
    std::atomic<std::int64_t> m_last{Never};
};

} // namespace probex
