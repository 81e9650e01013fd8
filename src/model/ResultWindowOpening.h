#pragma once

#include "project/ResultWindows.h"

#include <cstdint>
#include <string>

namespace probex {

class ProjectModel;
class TOutputTable;

/// The output table's window identification slot of a kind; -1 for the 2D window, which
/// keeps its own.
int OutWindowSlot(ResultWindowKind kind);

/// The variable a View command opens a window of the kind for: the current row's name when
/// no window of the kind shows it, else the first named row without such a window, else
/// empty (no window).
std::string VariableForNewWindow(ProjectModel& model, ResultWindowKind kind, int currentRow);

/// Opens a statistics, 1D, probability or quantile window for the name, or raises the one
/// that shows it; an empty name opens nothing. Without results the variable's row is entered or its
/// activity raised so that the next run gathers what the window shows ("Unable to add variable X!"
/// when the table is full: the window opens empty). The description is taken from the row.
void OpenResultWindow(ProjectModel& model, ResultWindowKind kind, const std::string& name);

/// Whether the end of a run rebuilds a 1D window's histogram from the log: the row's
/// "Recalculate" cell reads "Yes" and its activity is "Log".
bool RecalculateWanted(const TOutputTable& outputs, int row);

/// The histogram of a 1D window at the end of a run: rebuilt from the log over the `steps`
/// done when the row asks for it and has a log, otherwise computed in full with marks.
void FinalOneDHistogram(TOutputTable& outputs, int row, std::int32_t steps);

/// FinalOneDHistogram for the variable of every 1D window description: what the windows do
/// at the end of a run, for callers without windows.
void FinalOneDHistograms(ProjectModel& model);

} // namespace probex
