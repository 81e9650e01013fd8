#pragma once

#include <string>

namespace probex {

class LayoutKeeper;
class ProjectDocument;

/// The project file's text: [Main], the equations, the input and output tables, the
/// out-equation settings and the result-window sections, lines ended by CR LF.
std::string ProjectText(ProjectDocument& model);

/// Replaces the file at `path` atomically by the project, then, when the setting
/// `SaveWinPos` is on and `layout` is given, writes the layout file beside it. On failure
/// the old file is untouched, the system's message is shown as an error and the result is
/// false. Separators that a reading could not tell apart refuse the save with an error; texts
/// the file cannot give back whole are saved as well as the file allows and named in a warning.
bool WriteProject(ProjectDocument& model, const std::string& path, LayoutKeeper* layout = nullptr);

} // namespace probex
