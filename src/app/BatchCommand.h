#pragma once

#include <functional>
#include <iosfwd>
#include <string>

namespace probex {

class ProjectModel;

/// Writes the report of a run to a PDF file; returns the error text, empty on success.
using ReportWriter = std::function<std::string(ProjectModel& model, const std::string& path)>;

/// `probex --batch PROJECT.pxw [--steps N] [--seed N] [--results DIR] [--settings FILE]
/// [--save-as FILE] [--target-cov PERCENT] [--report FILE.pdf] [--yes]`: reads the project,
/// runs it to its last step (or until the estimate's CoV falls to PERCENT), evaluates the out
/// equations, prints the statistics, the result and its precision, and writes the files asked
/// for. Exit codes: 0 success; 1 the model does not compile, an input's parameters are refused,
/// the run did not start or ran no step, a run-time error or an interruption stopped the run,
/// or the out equations failed; 2 usage errors and files that cannot be read or written.
/// `writeReport` makes the report of `--report`; without it that option is refused.
int RunBatchCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                    const ReportWriter& writeReport = {});

} // namespace probex
