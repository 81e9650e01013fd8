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
    explicit WindowRun(const char* project);
    /// The same with the settings' generator and threads chosen (see TSettings).
    WindowRun(const char* project, std::int32_t generator, std::int32_t threads);
    ~WindowRun();
    /// One whole run; the probability of the out equations.
    Extended run();

private:
    struct Window;
    std::unique_ptr<Window> m_window;
};

} // namespace probex::bench
