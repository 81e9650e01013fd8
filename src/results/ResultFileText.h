#pragma once

#include "engine/Extended.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace probex {

class TOutLog;
struct TOutHis;
struct TOutStat;

/// Separators and optional lines of one kind of result file. Lines end with CR LF.
struct ResultTextOptions {
    char listSeparator = ',';
    char decimalSeparator = '.';
    bool names = false;   ///< the variable-name line
    bool headers = false; ///< row labels such as "Min:"
};

/// One column of a statistics or histogram statistics file.
struct StatColumn {
    std::string name;
    const TOutStat* stat = nullptr;
};

struct HisColumn {
    std::string name;
    const TOutHis* his = nullptr;
};

struct LogColumn {
    std::string name;
    const TOutLog* log = nullptr;
};

// The writers below take the computed fields as they stand; compute first.

/// ".sta": an optional name line, then the rows "Min:" .. "Kurt:", one column per variable.
/// One column gives the file of a single variable.
std::string StatisticsFileText(std::span<const StatColumn> columns,
                               const ResultTextOptions& options);

/// ".his": the optional name line, hist min and max in the "%-8.3g" form, then the counts of
/// the occupied bins.
std::string HistogramFileText(std::string_view name, const TOutHis& his,
                              const ResultTextOptions& options);

/// ".dis": the distribution file form; `identification` is the variable's comment cell.
std::string HistogramDisFileText(std::string_view name, std::string_view identification,
                                 const TOutHis& his, const ResultTextOptions& options);

/// ".hsta": the rows "Min:" .. "Med:", one column per variable; with `withMarks` (a file of one
/// variable) each column's four marks follow as "P:" and "Q:" rows.
std::string HistogramStatisticsFileText(std::span<const HisColumn> columns,
                                        const ResultTextOptions& options, bool withMarks);

/// ".log": the optional name line, the optional record count, then one line per step
/// 1..steps (capped at the shortest log), one column per variable.
std::string LogFileText(std::span<const LogColumn> columns, std::int32_t steps, bool records,
                        const ResultTextOptions& options);

/// Layout of the probability and quantile files.
struct PQTextOptions : ResultTextOptions {
    bool condensed = false;  ///< the result column only
    bool twoColumns = false; ///< input and result on one line (ignored when condensed)
};

/// ".prob": per line the value "Q:" then its probability "P:". The spans hold the lines to
/// write, inputs and results alike.
std::string ProbabilityFileText(std::string_view name, std::span<const Extended> values,
                                std::span<const Extended> probabilities,
                                const PQTextOptions& options);

/// ".quan": per line the probability "P:" then its quantile "Q:".
std::string QuantileFileText(std::string_view name, std::span<const Extended> probabilities,
                             std::span<const Extended> quantiles, const PQTextOptions& options);

} // namespace probex
