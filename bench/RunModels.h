#pragma once

// What every whole-run benchmark shares, so that their figures compare like with like.

#include "engine/Extended.h"

#include <cstdint>
#include <memory>

namespace probex {

/// Steps of every whole run.
inline constexpr std::int32_t Steps = 1000000;
/// The seed of every whole run ("Simple" generator), so that all of them draw the same values
/// and end with the same probability.
inline constexpr std::int32_t RunSeed = 20261206;

/// The main window (offscreen, default settings) with an example project open, run to its
/// last step by its Run command as a person runs it.
class WindowRun {
public:
    explicit WindowRun(const char* project);
    ~WindowRun();
    /// One whole run; the probability of the out equations.
    Extended run();

private:
    struct Window;
    std::unique_ptr<Window> m_window;
};

} // namespace probex
