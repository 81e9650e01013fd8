#pragma once

#include "simulation/RunController.h"

#include <condition_variable>
#include <functional>
#include <mutex>

namespace probex::test {

/// Hands the worker's procedures to the thread that calls `serveUntil`, as the desktop
/// program's event loop does, and lets the worker wait until each has run.
class QueuedMainThread : public MainThread {
public:
    void call(const std::function<void()>& procedure) override {
        std::unique_lock lock(m_mutex);
        m_pending = &procedure;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_pending == nullptr; });
    }

    /// Runs handed-over procedures on this thread until `done` holds after one of them.
    void serveUntil(const std::function<bool()>& done) {
        std::unique_lock lock(m_mutex);
        while (true) {
            m_changed.wait(lock, [this] { return m_pending != nullptr; });
            (*m_pending)();
            m_pending = nullptr;
            m_changed.notify_all();
            if (done()) return;
        }
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    const std::function<void()>* m_pending = nullptr;
};

} // namespace probex::test
