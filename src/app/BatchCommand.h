#pragma once

#include <iosfwd>

namespace probex {

/// `probex --batch PROJECT.pxw [--steps N] [--seed N] [--results DIR] [--settings FILE]
/// [--save-as FILE] [--yes]`: reads the project, runs it to its last step, evaluates the out
/// equations, prints the statistics and writes the files asked for.
/// Exit codes: 0 success; 1 the model does not compile, an input's parameters are refused,
/// the run did not start or ran no step, a run-time error or an interruption stopped the run,
/// or the out equations failed; 2 usage errors and files that cannot be read
/// or written.
int RunBatchCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace probex
