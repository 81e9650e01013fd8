#pragma once

// A whole run started from the main window, for comparison with the other ways of running.

#include "engine/Extended.h"

#include <cstdint>
#include <memory>

namespace probex::bench {

/// The main window (offscreen, default settings) with an example project open, run to its
/// last step (Steps, seed RunSeed) by its Run command as a person runs it.
class WindowRun {
public:
    /// resultWindows: the project opens with the result windows of beam-windows.pxw
    /// (statistics, 1D, 2D, probabilities, quantiles), showing its first logged output.
    explicit WindowRun(const char* project, bool resultWindows = false);
    /// The same with the settings' generator and threads chosen (see TSettings).
    WindowRun(const char* project, std::int32_t generator, std::int32_t threads);
    ~WindowRun();
    /// One whole run; the probability of the out equations.
    Extended run();
    /// Lets the windows finish what they draw after a run (the 2D picture builds in slices
    /// while the event loop runs), so that it does not fall into the next timed run.
    void settle();
    /// The longest a click would have waited for the window during the runs so far, in ms.
    double longestWaitMs() const { return m_longestWaitMs; }
    /// The window's own thread's CPU time during the last run, in ms: what it takes from the
    /// run's threads when they use every core.
    double mainThreadMs() const { return m_mainThreadMs; }

private:
    struct Window;
    std::unique_ptr<Window> m_window;
    double m_longestWaitMs = 0;
    double m_mainThreadMs = 0;
};

} // namespace probex::bench
