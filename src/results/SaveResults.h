#pragma once

#include "components/Prompter.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace probex {

class TOutputTable;
struct TSettings;

/// The kinds of result files, in the order they are written.
enum class ResultKind : int {
    Statistics = 0,
    Histograms,
    HistogramStatistics,
    Logs,
    Probabilities,
    Quantiles,
};
constexpr int ResultKindCount = 6;

/// "Statistics", "Histograms", "Histogram statistics", "Logs", "Probabilities", "Quantiles".
const char* ResultKindCaption(ResultKind kind);

/// The file extension without the dot: "sta", "his" or "dis", "hsta", "log", "prob", "quan".
std::string ResultExtension(ResultKind kind, const TSettings& settings);

/// Whether the kind writes one file for all its variables under the settings.
bool ResultSingleFile(ResultKind kind, const TSettings& settings);

/// The save dialog for a kind: title, filter and extension, starting in the results
/// directory in force, with `fileName` filled in.
Prompter::FileRequest ResultFileRequest(ResultKind kind, const TSettings& settings,
                                        const std::string& fileName);

/// The base of the names of single files: the project file's name without directory and
/// extension, "Untitled" for an untitled project.
std::string ResultFileBaseName(const std::string& projectFile);

/// One variable (an output table row) under one kind.
struct ResultEntry {
    ResultKind kind = ResultKind::Statistics;
    int row = 0;
    bool operator==(const ResultEntry&) const = default;
};

/// Every (kind, variable) that can be written now, kinds in order. A variable qualifies for
/// a kind when the run table holds the accumulator the kind reads: statistics for
/// "Statistics", a histogram for "Histograms" and "Histogram statistics", a log for "Logs"
/// (rows in table order). Probabilities and quantiles are the tables of the probability and
/// quantile windows: the rows of those windows, in window order, whose variable has a
/// histogram.
std::vector<ResultEntry> QualifyingResults(const TOutputTable& outputs,
                                           std::span<const int> probabilityWindowRows = {},
                                           std::span<const int> quantileWindowRows = {});

/// Where and how the files go.
struct SaveResultsOptions {
    /// Directory of the files written without a dialog; empty means the results directory in
    /// force. It is created when missing.
    std::string directory;
    /// False: never ask (the batch mode). True: the file-name dialog and the overwrite
    /// question follow `ResultsFilenamePrompt` and `ResultsOverwritePrompt`.
    bool prompts = true;
    /// Names the single files.
    std::string projectFile;
    /// Steps done in the run: the records of the logs.
    std::int32_t stepsDone = 0;
    /// Asked before each file: true ends the saving there (the report says interrupted).
    std::function<bool()> interrupted;
};

/// What was written.
struct SaveResultsReport {
    bool ok = true;                 ///< false when a file could not be written
    bool interrupted = false;       ///< the saving was broken off before all was written
    std::vector<std::string> files; ///< the paths written, in order
};

/// Writes the results of `entries` kind by kind in the order of `ResultKind` and, within a
/// kind, in the order given. Each file's figures are computed first (statistics to level 2,
/// histograms to level 3 with marks, the probability and quantile tables from the current
/// histogram) so no file carries stale ones. A variable that is not in the run table, or
/// lacks the kind's accumulator, is skipped without a message; a cancelled dialog skips its
/// file. A file is replaced atomically; the first one that cannot be written keeps its old
/// contents, its system message is shown as an error, and nothing further is written.
SaveResultsReport SaveResults(TOutputTable& outputs, const TSettings& settings, Prompter& prompter,
                              std::span<const ResultEntry> entries,
                              const SaveResultsOptions& options);

} // namespace probex
