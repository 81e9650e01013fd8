#include "app/DesktopModule.h"

#include <dlfcn.h>

#include <filesystem>
#include <ostream>
#include <system_error>

namespace probex {

namespace {

/// The module's entry point `symbol`, or nullptr with the reason in `error`. The module stays
/// loaded to the end of the process: Qt cannot be unloaded safely.
void* LoadEntryPoint(const char* symbol, std::string& error) {
    const std::string path = DesktopModulePath();
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* reason = dlerror();
        // dlerror names the file and says why (missing, or a library it needs is missing).
        error = std::string("cannot load the window module: ") + (reason ? reason : path.c_str());
        return nullptr;
    }
    void* entry = dlsym(module, symbol);
    if (!entry) error = "the window module " + path + " has no entry point " + symbol;
    return entry;
}

} // namespace

std::string DesktopModulePath() {
    std::error_code ec;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", ec);
    const auto folder = ec ? std::filesystem::path(".") : program.parent_path();
    return (folder / PROBEX_MODULE_PATH).lexically_normal().string();
}

int RunDesktopModule(int argc, char** argv, std::ostream& err) {
    std::string error;
    const auto entry =
        reinterpret_cast<DesktopMainFunction>(LoadEntryPoint(DesktopMainSymbol, error));
    if (!entry) {
        err << "error: " << error << '\n';
        return 2;
    }
    return entry(argc, argv);
}

std::string WriteReportPdfFromModule(ProjectModel& model, const std::string& path) {
    std::string error;
    const auto entry = reinterpret_cast<ReportPdfFunction>(LoadEntryPoint(ReportPdfSymbol, error));
    return entry ? entry(model, path) : error;
}

} // namespace probex
