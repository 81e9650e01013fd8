#include "simulation/OutputTable.h"

#include "components/Prompter.h"
#include "engine/EquationSet.h"
#include "settings/Settings.h"
#include "simulation/LogMemory.h"

#include <algorithm>
#include <new>
#include <utility>

namespace probex {

namespace {

constexpr std::array<const char*, 4> ActivityWords{"Inactive", "Statistics", "Histogram", "Log"};

std::string Stripped(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

const char* YesNo(bool yes) {
    return yes ? "Yes" : "No";
}

} // namespace

const char* ActivityWord(Activity activity) {
    return ActivityWords[static_cast<std::size_t>(activity)];
}

int ActivityLevel(std::string_view cell) {
    for (std::size_t i = 0; i < ActivityWords.size(); ++i)
        if (cell == ActivityWords[i]) return static_cast<int>(i);
    return -1;
}

TOutputTable::TOutputTable(const TSettings& settings, Prompter& prompter,
                           std::function<void()> invalidateResults)
    : m_settings(settings), m_prompter(prompter), m_invalidateResults(std::move(invalidateResults)),
      m_cells(OutputRows + 1), m_records(OutputRows + 1, freshRecord()) {
    m_cells[0] = {"Variable", "Activity", "Discrete", "Recalculate", "Comment"};
}

TGrdOVarSup TOutputTable::freshRecord() const {
    TGrdOVarSup record;
    for (std::size_t k = 0; k < 4; ++k) {
        record.markValues[k] = m_settings.PQValues[k];
        record.markKinds[k] = m_settings.PQKinds[k] == PQKind::Q;
    }
    return record;
}

const std::string& TOutputTable::cell(int row, int column) const {
    return m_cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void TOutputTable::setCell(int row, int column, std::string text) {
    m_cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::move(text);
}

void TOutputTable::editCell(int row, int column, std::string text) {
    setCell(row, column, std::move(text));
    GrdOVarsUserChanged(row, column);
}

int TOutputTable::FindOutputRow(std::string_view name) const {
    for (int row = 1; row <= OutputRows; ++row)
        if (SameName(cell(row, colVariable), name)) return row;
    return 0;
}

bool TOutputTable::SyncOutputVariables(const tDecodedEquations& set) {
    for (int row = 1; row <= OutputRows; ++row)
        setCell(row, colVariable, Stripped(cell(row, colVariable)));

    for (int row = 1; row <= OutputRows; ++row) {
        if (cell(row, colVariable).empty()) continue;
        const std::string& recalc = cell(row, colRecalculate);
        if (recalc.empty())
            setCell(row, colRecalculate, "No");
        else if (recalc != "No")
            setCell(row, colRecalculate, YesNo(cell(row, colActivity) == "Log"));
    }

    // Park the activity of every row that may lose its variable. A named row whose activity
    // was set without a compilation (a project file, an edit) is parked too, or restoring
    // from the saved activity below would overwrite what was set.
    for (int row = 1; row <= OutputRows; ++row) {
        TGrdOVarSup& rec = record(row);
        const bool named = !cell(row, colVariable).empty();
        const std::string& activity = cell(row, colActivity);
        if (!rec.present && !(named && !activity.empty())) continue;
        if (!activity.empty()) rec.savedActivity = activity;
        rec.present = false;
        setCell(row, colActivity, "");
    }

    for (std::int32_t v = 1; v <= set.Vars.Count; ++v) {
        if (set.Vars.Roles[static_cast<std::size_t>(v)] != tVars::Computed) continue;
        const std::string& name = set.Vars.Names[static_cast<std::size_t>(v)];
        if (const int row = FindOutputRow(name); row != 0) {
            TGrdOVarSup& rec = record(row);
            if (!rec.present) setCell(row, colActivity, rec.savedActivity);
            rec.present = true;
            continue;
        }
        if (AddOutputVariable(name, true) == 0) return false;
    }

    ApplyDefaultActivity();
    return true;
}

bool TOutputTable::raiseAll(int level) {
    bool changed = false;
    for (int row = 1; row <= OutputRows; ++row) {
        if (cell(row, colVariable).empty()) continue;
        const int current = ActivityLevel(cell(row, colActivity));
        // A row whose variable vanished shows no activity and keeps its saved one until the
        // variable returns; giving it an activity would gather for a variable that is not
        // computed.
        if (current < 0 && !record(row).present) continue;
        if (current < level) {
            setCell(row, colActivity, ActivityWords[static_cast<std::size_t>(level)]);
            changed = true;
        }
    }
    return changed;
}

void TOutputTable::invalidate() {
    if (m_invalidateResults) m_invalidateResults();
}

void TOutputTable::ApplyDefaultActivity() {
    const int level = std::clamp(m_settings.DefOutVars, 0, 3);
    if (level > 0) raiseAll(level);
}

void TOutputTable::AllStatistics() {
    if (raiseAll(1)) invalidate();
}

void TOutputTable::AllHis() {
    if (raiseAll(2)) invalidate();
}

void TOutputTable::AllLogs() {
    if (raiseAll(3)) invalidate();
}

void TOutputTable::AllInactive() {
    bool changed = false;
    for (int row = 1; row <= OutputRows; ++row) {
        if (cell(row, colVariable).empty()) continue;
        const std::string& activity = cell(row, colActivity);
        if (activity == "Inactive" || (activity.empty() && !record(row).present)) continue;
        setCell(row, colActivity, "Inactive");
        if (cell(row, colRecalculate) != "No") setCell(row, colRecalculate, "No");
        changed = true;
    }
    if (changed) invalidate();
}

void TOutputTable::GrdOVarsUserChanged(int row, int column) {
    switch (column) {
    case colVariable: {
        setCell(row, colVariable, Stripped(cell(row, colVariable)));
        if (!cell(row, colVariable).empty()) {
            record(row).present = true;
            if (cell(row, colActivity).empty()) setCell(row, colActivity, "Inactive");
            if (cell(row, colDiscrete).empty())
                setCell(row, colDiscrete, YesNo(m_settings.Discrete1D));
            if (cell(row, colRecalculate).empty()) setCell(row, colRecalculate, "No");
        }
        invalidate();
        break;
    }
    case colActivity:
        // Only a logged variable can be rebuilt from its log.
        if (cell(row, colActivity) != "Log" && !cell(row, colRecalculate).empty())
            setCell(row, colRecalculate, "No");
        invalidate();
        break;
    case colDiscrete:
        if (const std::int32_t i = FindActiveIndex(row); i != 0 && m_run.item(i).His)
            m_run.item(i).His->discrete = cell(row, colDiscrete) == "Yes";
        if (m_hooks.refreshWindows) m_hooks.refreshWindows(row, RefreshReason::Discrete);
        break;
    case colRecalculate:
        if (cell(row, colActivity) != "Log") setCell(row, colRecalculate, "No");
        if (m_hooks.refreshWindows) m_hooks.refreshWindows(row, RefreshReason::Recalculate);
        break;
    default:
        break;
    }
}

void TOutputTable::DelVar(int row) {
    m_cells[static_cast<std::size_t>(row)] = {};
    record(row) = freshRecord();
    invalidate();
}

void TOutputTable::DelVars() {
    clear();
    invalidate();
}

void TOutputTable::Compact() {
    std::array<std::int32_t, OutputRows + 1> movedTo{};
    int target = 1;
    for (int row = 1; row <= OutputRows; ++row) {
        if (cell(row, colVariable).empty()) continue;
        movedTo[static_cast<std::size_t>(row)] = target;
        if (row != target) {
            m_cells[static_cast<std::size_t>(target)] =
                std::move(m_cells[static_cast<std::size_t>(row)]);
            record(target) = std::move(record(row));
            m_cells[static_cast<std::size_t>(row)] = {};
            record(row) = freshRecord();
        }
        ++target;
    }
    // Entries keep their order, since rows only move up past free rows.
    for (std::int32_t i = 1; i <= m_run.count(); ++i) {
        TOutVar& entry = m_run.item(i);
        entry.Row = movedTo[static_cast<std::size_t>(entry.Row)];
    }
}

int TOutputTable::AddOutputVariable(std::string_view name, bool present) {
    for (int row = 1; row <= OutputRows; ++row) {
        if (!cell(row, colVariable).empty()) continue;
        m_cells[static_cast<std::size_t>(row)] = {std::string(name), "Inactive",
                                                  YesNo(m_settings.Discrete1D), "No", ""};
        TGrdOVarSup& rec = record(row);
        rec = freshRecord();
        rec.present = present;
        return row;
    }
    return 0;
}

void TOutputTable::clear() {
    for (int row = 1; row <= OutputRows; ++row) {
        m_cells[static_cast<std::size_t>(row)] = {};
        record(row) = freshRecord();
    }
}

bool TOutputTable::PrepareOutputs(const tDecodedEquations& set, std::int32_t lastStep,
                                  bool logInputs) {
    FreeOutputs();
    const std::int32_t slots = std::max<std::int32_t>(lastStep, 0);
    std::int64_t logs = 0;
    for (int row = 1; row <= OutputRows; ++row) {
        const int v = FindVar(cell(row, colVariable), set.Vars);
        logs += ActivityLevel(cell(row, colActivity)) >= 3 && v != 0 &&
                set.Vars.Roles[static_cast<std::size_t>(v)] == tVars::Computed;
    }
    if (logInputs) logs += SampledInputCount(set);
    if (!logsFit(logs, slots)) return false;
    std::int32_t gathering = 0;
    try {
        for (int row = 1; row <= OutputRows; ++row) {
            const std::string& name = cell(row, colVariable);
            const std::string& activity = cell(row, colActivity);
            if (name.empty() || activity == "Inactive") continue;
            std::int32_t varIndex = FindVar(name, set.Vars);
            if (varIndex != 0 &&
                set.Vars.Roles[static_cast<std::size_t>(varIndex)] != tVars::Computed)
                varIndex = 0;
            TOutVar& entry = m_run.append(row, varIndex);
            // A row whose variable the equations do not compute stays in the run table, as
            // windows look it up there, but gathers nothing.
            const int level = ActivityLevel(activity);
            if (level < 1 || varIndex == 0) continue;
            if (level >= 3) {
                entry.Log = std::make_unique<TOutLog>();
                if (!entry.Log->allocate(slots)) throw std::bad_alloc();
            }
            if (level >= 2) {
                entry.His = std::make_unique<TOutHis>();
                if (!HisAllocate(*entry.His, m_settings.HistogramSize)) throw std::bad_alloc();
            }
            entry.Stat = std::make_unique<TOutStat>();
            ++gathering;
        }
        if (logInputs && gathering != 0 && !m_inputLogs.allocate(set, slots))
            throw std::bad_alloc();
    } catch (const std::bad_alloc&) {
        FreeOutputs();
        m_prompter.error("No memory!");
        return false;
    }

    if (gathering == 0) {
        FreeOutputs();
        m_prompter.warning("Select output variables!");
        if (m_hooks.showTable) m_hooks.showTable();
        return false;
    }

    for (std::int32_t i = 1; i <= m_run.count(); ++i) {
        TOutVar& entry = m_run.item(i);
        if (entry.Stat) StatReset(*entry.Stat);
        if (entry.His) {
            HisReset(*entry.His);
            LoadMarks(*entry.His, entry.Row);
        }
    }
    return true;
}

bool TOutputTable::GrowOutputLogs(std::int32_t lastStep) {
    std::int64_t logs = 0;
    for (std::int32_t i = 1; i <= m_run.count(); ++i)
        logs += m_run.item(i).Log != nullptr;
    logs += static_cast<std::int64_t>(m_inputLogs.logs().size());
    if (!logsFit(logs, lastStep)) return false;
    if (m_run.growLogs(std::max<std::int32_t>(lastStep, 0)) &&
        m_inputLogs.grow(std::max<std::int32_t>(lastStep, 0)))
        return true;
    m_prompter.error("No memory!");
    return false;
}

bool TOutputTable::logsFit(std::int64_t logs, std::int32_t steps) {
    const std::string problem = LogMemoryProblem(logs, steps, PhysicalMemoryBytes());
    if (!problem.empty()) m_prompter.error(problem);
    return problem.empty();
}

void TOutputTable::LoadMarks(TOutHis& his, int row) const {
    const TGrdOVarSup& rec = record(row);
    HisLoadMarks(his, rec.markValues, rec.markKinds, cell(row, colDiscrete) == "Yes");
}

void TOutputTable::HisRecalculate(std::int32_t i, std::int32_t stepCount) {
    TOutVar& entry = m_run.item(i);
    if (!entry.His || !entry.Stat || !entry.Log) return;
    LoadMarks(*entry.His, entry.Row);
    probex::HisRecalculate(*entry.His, *entry.Stat, *entry.Log,
                           std::clamp(stepCount, 0, entry.Log->size()));
}

} // namespace probex
