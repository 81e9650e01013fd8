#pragma once

#include <string>

namespace probex {

/// The folder a file dialog starts in, always one that exists: the folder of `projectFile`
/// (the open project), else `defaultFolder` (a directory setting), else the home folder,
/// else the current folder ("").
std::string DialogStartFolder(const std::string& projectFile, const std::string& defaultFolder);

} // namespace probex
