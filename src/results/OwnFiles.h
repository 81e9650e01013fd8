#pragma once

#include <string>
#include <string_view>

namespace probex {

/// The creator a report PDF names in its document information; it tells the report files
/// that Probex wrote.
inline constexpr std::string_view ReportCreator = "Probex";

/// Whether a file beginning with `start` (its first 64 KB) is a report PDF that Probex
/// wrote: a PDF whose creator is ReportCreator.
bool IsReportPdf(std::string_view start);

/// Whether a file named `fileName` beginning with `start` is a result file as Probex writes
/// them: one of the result extensions, and text in lines ending with CR LF whose lines after
/// the first (which may hold names) begin with a number, a row label such as "Min:" or a
/// section of a distribution file.
bool IsResultFileText(const std::string& fileName, std::string_view start);

/// The first bytes of a file (up to `limit`); empty when it cannot be read.
std::string FileStart(const std::string& path, std::size_t limit = 65536);

} // namespace probex
