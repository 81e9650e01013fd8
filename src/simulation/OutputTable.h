#pragma once

#include "engine/Extended.h"
#include "simulation/InputLogs.h"
#include "simulation/PQSlots.h"
#include "simulation/RunTable.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace probex {

class Prompter;
struct TSettings;
struct tDecodedEquations;

/// What a run gathers for an output variable; each level includes the lower ones.
enum class Activity : std::int8_t { Inactive = 0, Statistics = 1, Histogram = 2, Log = 3 };

/// "Inactive", "Statistics", "Histogram" or "Log".
const char* ActivityWord(Activity activity);

/// The level 0..3 of an activity cell; -1 for an empty cell (below every level) or any other
/// text.
int ActivityLevel(std::string_view cell);

/// Columns of the output variable table.
enum OutColumn : int { colVariable = 0, colActivity, colDiscrete, colRecalculate, colComment };

/// Which result window an identification of `TGrdOVarSup` belongs to.
enum OutWindowKind : int { owStatistics = 0, ow1D, owProbability, owQuantile };

constexpr int OutputRows = 255;  ///< data rows 1..255
constexpr int OutputColumns = 5; ///< "Variable" .. "Comment"

/// The record kept beside a row of the output variable table and moved with it.
struct TGrdOVarSup {
    bool present = false; ///< the variable is defined by the compiled equations
    std::string savedActivity = "Inactive";
    std::array<std::string, 4> windowIds; ///< indexed by OutWindowKind
    std::array<Extended, 4> markValues{};
    std::array<bool, 4> markKinds{}; ///< true: a value Q whose probability is wanted
    PQSlots probValues;              ///< probability window inputs Q
    PQSlots probResults;             ///< probability window results P
    PQSlots quantResults;            ///< quantile window results Q
    PQSlots quantProbs;              ///< quantile window inputs P
};

/// The output variable table: 255 rows of five text cells, which are the authoritative
/// state, each with its `TGrdOVarSup` record; and the run table built from it for a run.
class TOutputTable {
public:
    /// Why result windows showing a row's variable must be refreshed.
    enum class RefreshReason { Discrete, Recalculate };

    /// Window work the table asks for; each may be left empty.
    struct Hooks {
        std::function<void(int row, RefreshReason reason)> refreshWindows;
        std::function<void()> showTable; ///< restore and raise the output variable window
    };

    /// `settings` and `prompter` must outlive the table; `invalidateResults` discards the
    /// results of the run (and is expected to call FreeOutputs when results exist).
    TOutputTable(const TSettings& settings, Prompter& prompter,
                 std::function<void()> invalidateResults);

    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }

    /// Row 0 holds the column titles.
    const std::string& cell(int row, int column) const;
    /// Sets a cell with no other effect (readers and tests).
    void setCell(int row, int column, std::string text);
    /// A person's edit: sets the cell, then applies GrdOVarsUserChanged.
    void editCell(int row, int column, std::string text);

    TGrdOVarSup& record(int row) { return m_records[static_cast<std::size_t>(row)]; }
    const TGrdOVarSup& record(int row) const { return m_records[static_cast<std::size_t>(row)]; }

    /// Row 1..255 whose name equals `name` ignoring case, or 0.
    int FindOutputRow(std::string_view name) const;

    /// Matches the table to the computed variables of a freshly compiled set. False at once
    /// when a variable finds no free row; the caller shows "Error assigning variable!".
    bool SyncOutputVariables(const tDecodedEquations& set);

    /// Raises every named row to the activity of the setting `DefOutVars`.
    void ApplyDefaultActivity();

    // The table's commands. Those that change an activity discard the results.
    void AllStatistics();
    void AllHis();
    void AllLogs();
    void AllInactive();
    void DelVar(int row);
    void DelVars();
    /// Moves the named rows up over the free ones, records with them; the run table follows
    /// the moved rows, so results stay valid.
    void Compact();

    /// The rules that follow a person's edit of a cell (see editCell).
    void GrdOVarsUserChanged(int row, int column);

    /// Puts a name into the first free row with activity "Inactive" and a fresh record
    /// holding the default marks of the settings. Returns the row, 0 when none is free.
    int AddOutputVariable(std::string_view name, bool present = false);

    /// Empties every row (a new project). Does not discard results.
    void clear();

    // The run table.
    TOutVarSet& runTable() { return m_run; }
    const TOutVarSet& runTable() const { return m_run; }
    int FindActiveIndex(int row) const { return m_run.FindActiveIndex(row); }

    /// Builds the run table for a fresh run and allocates the accumulators, logs of
    /// `lastStep` slots, and with `logInputs` a log of every sampled input too. False when
    /// the run must not start; "No memory!" or "Select output variables!" has then been shown
    /// and the run table is empty.
    bool PrepareOutputs(const tDecodedEquations& set, std::int32_t lastStep,
                        bool logInputs = false);

    /// Frees every accumulator and empties the run table.
    void FreeOutputs() {
        m_run.clear();
        m_inputLogs.clear();
    }

    /// The option to keep every sampled input's value per step in the next fresh run, even
    /// when no open window asks for them.
    bool keepInputValues = false;
    /// The sampled inputs' values of the run; empty when the run did not keep them.
    TInputLogs& inputLogs() { return m_inputLogs; }
    const TInputLogs& inputLogs() const { return m_inputLogs; }

    /// Enlarges every log to `lastStep` slots before a stopped run goes on past the size it
    /// was prepared with; every stored value stays. False when the memory cannot be had,
    /// after showing "No memory!"; the worker must not start.
    bool GrowOutputLogs(std::int32_t lastStep);

    /// Copies a row's marks and "Discrete" cell into a histogram.
    void LoadMarks(TOutHis& his, int row) const;

    /// Rebuilds run-table entry i's histogram from its log over the first `stepCount` steps
    /// with the row's current marks. Nothing happens without a histogram, statistics and log.
    void HisRecalculate(std::int32_t i, std::int32_t stepCount);

private:
    TGrdOVarSup freshRecord() const;
    /// False, after saying so, when logs of `logs` variables over `steps` steps cannot fit.
    bool logsFit(std::int64_t logs, std::int32_t steps);
    bool raiseAll(int level);
    void invalidate();

    const TSettings& m_settings;
    Prompter& m_prompter;
    std::function<void()> m_invalidateResults;
    Hooks m_hooks;
    std::vector<std::array<std::string, OutputColumns>> m_cells; // rows 0..255
    std::vector<TGrdOVarSup> m_records;                          // rows 0..255, 0 unused
    TOutVarSet m_run;
    TInputLogs m_inputLogs;
};

} // namespace probex
