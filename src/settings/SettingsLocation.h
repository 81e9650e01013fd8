#pragma once

#include <optional>
#include <string>

namespace probex {

/// Where the settings file lives and which directory the directory settings are relative to.
struct SettingsLocation {
    std::string AppDir;       ///< ends with "/"
    std::string SettingsFile; ///< AppDir + "Probex.ini"
};

/// The directory of the running program (from /proc/self/exe), ending with "/"; the current
/// directory when it cannot be found.
std::string ExecutableDir();

/// `exeDir` + "Probex.ini" when `exeDir` is writable; otherwise `xdgConfigHome`/probex/
/// (or `home`/.config/probex/ when XDG_CONFIG_HOME is unset or empty), created when missing.
/// `AppDir` follows the same choice.
SettingsLocation FindSettingsLocation(const std::string& exeDir,
                                      const std::optional<std::string>& xdgConfigHome,
                                      const std::optional<std::string>& home);

/// The same, from the program's directory and the environment.
SettingsLocation FindSettingsLocation();

} // namespace probex
