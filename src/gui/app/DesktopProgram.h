#pragma once

namespace probex {

/// Starts the desktop program: `probex [--settings FILE] [PROJECT]`. Returns the exit code.
int RunDesktopProgram(int argc, char** argv);

} // namespace probex
