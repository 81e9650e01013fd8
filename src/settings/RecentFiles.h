#pragma once

#include <string>
#include <vector>

namespace probex {

class IniFile;

/// The projects opened or saved last, newest first, kept in the settings file under
/// "[Recent files]" as File1..File8.
class RecentFiles {
public:
    static constexpr std::size_t Capacity = 8;

    const std::vector<std::string>& files() const { return m_files; }

    /// Puts the file first; an entry already there moves up; the oldest beyond eight drops.
    void add(const std::string& file);
    void remove(const std::string& file);

    void read(const IniFile& ini);
    void write(IniFile& ini) const;

    /// read() from the settings file; a missing file gives an empty list.
    void load(const std::string& settingsFile);
    /// Merges the list into the settings file; the error text, empty on success.
    std::string save(const std::string& settingsFile) const;

private:
    std::vector<std::string> m_files;
};

} // namespace probex
