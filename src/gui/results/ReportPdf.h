#pragma once

#include <string>

namespace probex {

class ProjectModel;

/// Writes the report of the project and its results, every item chosen, as a PDF file,
/// replacing the file whole or not at all. Works without a window: it starts the offscreen
/// platform when no application runs yet. Returns the error text, empty on success.
std::string WriteReportPdf(ProjectModel& model, const std::string& path);

} // namespace probex
