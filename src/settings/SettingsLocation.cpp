#include "settings/SettingsLocation.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace probex {

namespace {

std::string WithSlash(std::string directory) {
    if (directory.empty() || directory.back() != '/') directory.push_back('/');
    return directory;
}

/// mkdir -p; true when the directory exists afterwards.
bool MakeDirectories(const std::string& directory) {
    for (std::size_t at = 1; at <= directory.size(); ++at) {
        if (at != directory.size() && directory[at] != '/') continue;
        const std::string part = directory.substr(0, at);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    struct stat info {};
    return ::stat(directory.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::optional<std::string> Environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

} // namespace

std::string ExecutableDir() {
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length > 0 && static_cast<std::size_t>(length) < path.size()) {
        path.resize(static_cast<std::size_t>(length));
        const auto slash = path.rfind('/');
        if (slash != std::string::npos) return path.substr(0, slash + 1);
    }
    char* current = ::getcwd(nullptr, 0);
    std::string directory = current != nullptr ? current : ".";
    std::free(current);
    return WithSlash(directory);
}

SettingsLocation FindSettingsLocation(const std::string& exeDir,
                                      const std::optional<std::string>& xdgConfigHome,
                                      const std::optional<std::string>& home) {
    const std::string programDir = WithSlash(exeDir);
    if (::access(programDir.c_str(), W_OK) == 0) return {programDir, programDir + "Probex.ini"};

    // Relative values of XDG_CONFIG_HOME are to be ignored.
    std::string base;
    if (xdgConfigHome && !xdgConfigHome->empty() && (*xdgConfigHome)[0] == '/')
        base = *xdgConfigHome;
    else if (home && !home->empty())
        base = WithSlash(*home) + ".config";
    if (base.empty()) return {programDir, programDir + "Probex.ini"};

    const std::string directory = WithSlash(base) + "probex/";
    // Created now so that the first save has a directory to write to; a failure shows then.
    MakeDirectories(directory);
    return {directory, directory + "Probex.ini"};
}

SettingsLocation FindSettingsLocation() {
    return FindSettingsLocation(ExecutableDir(), Environment("XDG_CONFIG_HOME"),
                                Environment("HOME"));
}

} // namespace probex
