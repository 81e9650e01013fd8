#pragma once

#include <string>
#include <vector>

namespace probex {

class ProjectDocument;
struct TCorrelation;

/// Reads one line "name1,name2,value" of the [Correlations] section (fields separated by the
/// list separator in force) into the project's correlations, replacing the pair's value of a
/// project merged into. A line naming a variable the input table lacks, a variable with
/// itself, a value that is no number or not strictly between -1 and 1, or a pair this reading
/// already took (kept in `read`) gets its message and is skipped.
void ReadCorrelationLine(ProjectDocument& model, const std::string& line,
                         std::vector<TCorrelation>& read);

/// The [Correlations] section followed by an empty line; empty when no pair is held, so that
/// a project without correlations is written as it always was.
std::string CorrelationsSectionText(ProjectDocument& model);

} // namespace probex
