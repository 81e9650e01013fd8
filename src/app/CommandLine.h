#pragma once

#include <iosfwd>
#include <optional>

namespace probex {

/// The usage of every mode, as `probex --help` prints it and the manual page repeats it.
extern const char* const ProgramUsage;

/// The options every mode shares: `--help` and `--version` print and end the program with 0;
/// an option that the window mode does not know is a usage error (2) with the usage on `err`.
/// nullopt: the window mode may start. `argv` holds the arguments after the program's name.
std::optional<int> HandleGeneralOptions(int argc, const char* const* argv, std::ostream& out,
                                        std::ostream& err);

/// True when the window mode has a screen to open its windows on: an X or Wayland display, or
/// a Qt platform named in QT_QPA_PLATFORM.
bool DisplayAvailable();

/// The window mode without a display: a message that points to the batch mode, and exit 2.
int ReportNoDisplay(std::ostream& err);

} // namespace probex
