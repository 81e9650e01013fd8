// The entry points of the window module (see app/DesktopModule.h); the only symbols it exports.
#include "app/DesktopModule.h"
#include "gui/app/DesktopProgram.h"
#include "gui/results/ReportPdf.h"

#include <string>
#include <type_traits>

extern "C" {

__attribute__((visibility("default"))) int probex_desktop_main(int argc, char** argv) {
    return probex::RunDesktopProgram(argc, argv);
}

__attribute__((visibility("default"))) std::string
probex_write_report_pdf(probex::ProjectModel& model, const std::string& path) {
    return probex::WriteReportPdf(model, path);
}
}

// The program calls them through these types: a changed signature must not compile.
static_assert(std::is_same_v<decltype(&probex_desktop_main), probex::DesktopMainFunction>);
static_assert(std::is_same_v<decltype(&probex_write_report_pdf), probex::ReportPdfFunction>);
