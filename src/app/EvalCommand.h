#pragma once

#include <iosfwd>

namespace probex {

/// `probex --eval "EXPR" [NAME=VALUE ...]`: compiles the expression with "." and ",",
/// assigns the values, evaluates and prints the value with 18 significant digits.
/// Returns the exit code: 0 on success, 1 on a compile or evaluation error, 2 on usage errors.
int RunEvalCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

/// The same on the process's stdout and stderr.
int RunEvalCommand(int argc, const char* const* argv);

} // namespace probex
