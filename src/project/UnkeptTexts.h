#pragma once

#include <string>
#include <vector>

namespace probex {

class ProjectDocument;

/// The texts of the project that its file cannot give back as they stand, one message each:
/// a list separator in a table field before the last one, a list separator or "=" in a
/// key-value value other than an identification, a line break anywhere (the writer puts a
/// blank in its place), an equation line beginning with "[" (it would read as a header).
std::vector<std::string> UnkeptTexts(ProjectDocument& model);

} // namespace probex
