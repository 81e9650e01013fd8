#pragma once

#include <functional>
#include <iosfwd>
#include <string>

namespace probex {

class ProjectModel;
class TStepReplay;
struct TPartialHeader;

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

/// A run whose steps come from the partial results of its shards (`probex --merge`): the
/// project, settings, steps and seeds of the parts, the replay of their values and what to
/// write.
struct MergedRun {
    const TPartialHeader* header = nullptr;
    TStepReplay* replay = nullptr;
    std::string resultsDir;
    std::string saveAs;
    std::string report;
    bool yes = false;
};

/// Runs the merged run as `--batch` runs a project and prints, writes and reports what one
/// process would have. A part found damaged during the replay exits with 2.
int RunMergedBatch(const MergedRun& run, std::ostream& out, std::ostream& err,
                   const ReportWriter& writeReport = {});

} // namespace probex
