#pragma once

#include "results/SaveResults.h"

#include <functional>
#include <span>
#include <string>
#include <vector>

namespace probex {

/// The file beside the result files that names those holding the results of an interrupted
/// run; the files of a later complete run leave it, and it goes once it names none.
inline constexpr const char* PartialResultsFileName = "PARTIAL.txt";

/// How a set of result files reaches its folder.
struct ResultSetOptions {
    /// The run was cut short: the files are named in PartialResultsFileName with this note
    /// ("interrupted at step 1234 of 50000").
    std::string partialNote;
    /// Asked for a file of the folder that the set would replace and that is not a result
    /// file (IsResultFileText): true replaces it. Missing: every such file is replaced.
    std::function<bool(const std::string& path)> mayReplace;
};

enum class ResultSetOutcome { Written, Failed, Interrupted, Declined };

/// Writes the result files of `entries` (SaveResults without dialogs into
/// `options.directory`, which is made when missing) as a whole: into a temporary folder in the
/// target folder first ("incomplete" in its name), and only when every file is written are
/// they moved in. So a failure, an interruption (`options.interrupted`) or a refused
/// replacement leaves the folder as it was; the system's message of a failure is shown.
ResultSetOutcome SaveResultSet(TOutputTable& outputs, const TSettings& settings, Prompter& prompter,
                               std::span<const ResultEntry> entries,
                               const SaveResultsOptions& options, const ResultSetOptions& set);

} // namespace probex
