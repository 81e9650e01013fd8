#include "components/DialogFolder.h"

#include <cstdlib>
#include <filesystem>

namespace probex {

namespace {

bool IsFolder(const std::string& path) {
    std::error_code ignored;
    return !path.empty() && std::filesystem::is_directory(path, ignored);
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

std::string DialogStartFolder(const std::string& projectFile, const std::string& defaultFolder) {
    if (const std::string folder = FolderOf(projectFile); IsFolder(folder)) return folder;
    if (IsFolder(defaultFolder)) return defaultFolder;
    const char* home = std::getenv("HOME");
    if (home != nullptr && IsFolder(home)) return home;
    return {};
}

} // namespace probex
