#pragma once

#include <string>

namespace probex {

class Prompter;

/// The kinds of file the batch mode writes, each recognised by what Probex puts in it.
enum class WrittenKind { Project, Report, Results };

/// Whether `path` may be written: nothing or no regular file is there (the writer itself
/// refuses what it cannot replace), the file there is one Probex wrote of that kind (a project
/// the reader would take, a report PDF by its creator, a result file by its extension and
/// lines), or the person agrees to replace it when asked.
bool MayReplace(const std::string& path, WrittenKind kind, char listSeparator, Prompter& prompter);

} // namespace probex
