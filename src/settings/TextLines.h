#pragma once

#include <string_view>
#include <vector>

namespace probex {

/// The lines of a text file, whatever wrote it: CR LF, LF and CR alone each end a line. A
/// line end at the very end of the text opens no further line.
std::vector<std::string_view> SplitTextLines(std::string_view text);

} // namespace probex
