#include "python/DesktopReport.h"

#include <dlfcn.h>

#include <filesystem>

namespace probex {

class ProjectModel;

namespace {

// The window module's entry point, as the program declares it.
extern "C" {
using ReportPdfFunction = std::string (*)(ProjectModel& model, const std::string& path);
}
constexpr const char* ReportPdfSymbol = "probex_write_report_pdf";

std::string ModulePath() {
    Dl_info info{};
    const auto self = reinterpret_cast<void*>(&WriteReportThroughModule);
    const bool found = dladdr(self, &info) != 0 && info.dli_fname != nullptr;
    const std::filesystem::path folder =
        found ? std::filesystem::path(info.dli_fname).parent_path() : std::filesystem::path(".");
    return (folder / PROBEX_MODULE_PATH).lexically_normal().string();
}

} // namespace

std::string WriteReportThroughModule(ProjectModel& model, const std::string& path) {
    const std::string modulePath = ModulePath();
    // Stays loaded to the end of the process: Qt cannot be unloaded safely.
    void* module = dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* reason = dlerror();
        return std::string("cannot load the window module: ") +
               (reason ? reason : modulePath.c_str());
    }
    const auto entry = reinterpret_cast<ReportPdfFunction>(dlsym(module, ReportPdfSymbol));
    if (!entry) return "the window module " + modulePath + " has no entry point " + ReportPdfSymbol;
    return entry(model, path);
}

} // namespace probex
