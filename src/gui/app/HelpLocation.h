#pragma once

#include <QString>

namespace probex {

/// The help manual's start page: beside the program (as installed or in its build tree),
/// else in the source tree it was built from. Empty when none exists.
QString FindHelpFile(const QString& programDir);

/// The folder of the example projects, found the same way. Empty when none exists.
QString FindExamplesFolder(const QString& programDir);

} // namespace probex
