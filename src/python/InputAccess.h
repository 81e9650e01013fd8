#pragma once

#include "engine/Extended.h"

#include <string>
#include <string_view>

namespace probex {

class ProjectModel;

/// The entered parameters of an input variable that a script may read and set.
enum class InputParameter { Value, Min, Max, Mean, StDev, Mode };

/// The row of an input variable, 0 when the table has none of that name.
int InputRowOf(ProjectModel& model, std::string_view name);

/// The type cell's word: "Normal", "Constant", a distribution file's name, "" when undefined.
std::string InputKind(ProjectModel& model, int row);

/// Gives the row a kind by its word ("normal", "PERT", ...) with that kind's default
/// parameters, as choosing it in the table does; std::invalid_argument for another word.
void SetInputKind(ProjectModel& model, int row, std::string_view word);

Extended InputParameterValue(ProjectModel& model, int row, InputParameter parameter);

/// Sets one entered parameter and checks the row as the distribution inspector does: a value
/// the checks refuse throws std::invalid_argument with the program's message and leaves the
/// row as it was; otherwise the results are discarded. Returns the checks' warning, if any.
std::string SetInputParameter(ProjectModel& model, int row, InputParameter parameter,
                              Extended value);

} // namespace probex
