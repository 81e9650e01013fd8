#pragma once

#include "simulation/RunController.h"

#include <QObject>

namespace probex {

/// Runs the worker's hand-overs on the GUI thread and lets the worker wait for them. A call
/// made on the GUI thread itself runs at once (a blocking queued call would deadlock there).
class QtMainThread : public MainThread {
public:
    /// `context` lives on the thread the procedures must run on; the application object when
    /// null.
    explicit QtMainThread(QObject* context = nullptr);

    void call(const std::function<void()>& procedure) override;
    /// Queued even on the GUI thread: it runs when the event loop next takes its events.
    void post(std::function<void()> procedure) override;

private:
    QObject* context() const;

    QObject* m_context;
};

} // namespace probex
