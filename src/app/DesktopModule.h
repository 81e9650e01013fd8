#pragma once

#include <iosfwd>
#include <string>

namespace probex {

class ProjectModel;

/// The window code (Qt and everything drawn with it) lives in a module that the program loads
/// only when a mode needs it, so that a command-line run does not pay for loading Qt.
/// The module's exported entry points, with C names so that they can be looked up.
extern "C" {
using DesktopMainFunction = int (*)(int argc, char** argv);
using ReportPdfFunction = std::string (*)(ProjectModel& model, const std::string& path);
}
inline constexpr const char* DesktopMainSymbol = "probex_desktop_main";
inline constexpr const char* ReportPdfSymbol = "probex_write_report_pdf";

/// The module's file: PROBEX_MODULE_PATH relative to the running program's folder.
std::string DesktopModulePath();

/// Starts the window mode from the module; exit 2 with a message on `err` when the module
/// cannot be loaded.
int RunDesktopModule(int argc, char** argv, std::ostream& err);

/// Writes the report PDF through the module. Returns the error text, empty on success.
std::string WriteReportPdfFromModule(ProjectModel& model, const std::string& path);

} // namespace probex
