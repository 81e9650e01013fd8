#pragma once

#include <string>

namespace probex {

class ProjectModel;

/// Writes the project's report PDF with its results through the program's window module,
/// loaded (and Qt with it) only now, from its place relative to this Python module. Returns
/// the error text, empty on success.
std::string WriteReportThroughModule(ProjectModel& model, const std::string& path);

} // namespace probex
