#pragma once

#include "engine/Expression.h"

#include <string>
#include <vector>

namespace probex {

/// What an equation error is about, for the second line of its popup: the name at the
/// error's place, if any, and the line counted from 1 ("y, line 3"); without a name, the text
/// at the error's place ("line 2 at "= 3""). A name computed above a line that uses it (the
/// "Duplicite name" of bottom-up reading) says so. `lines` is the window's text, one string
/// per line.
std::string ErrorCulprit(const TEquError& error, const std::vector<std::string>& lines);

/// The message with its culprit, for a status bar: "Duplicite name: y, line 3".
std::string ErrorWithCulprit(const TEquError& error, const std::vector<std::string>& lines);

} // namespace probex
