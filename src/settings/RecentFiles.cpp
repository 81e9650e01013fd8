#include "settings/RecentFiles.h"

#include "settings/IniFile.h"

#include <algorithm>

namespace probex {

namespace {

const char* const Section = "Recent files";

std::string KeyOf(std::size_t index) {
    return "File" + std::to_string(index + 1);
}

} // namespace

void RecentFiles::add(const std::string& file) {
    if (file.empty()) return;
    remove(file);
    m_files.insert(m_files.begin(), file);
    if (m_files.size() > Capacity) m_files.resize(Capacity);
}

void RecentFiles::remove(const std::string& file) {
    m_files.erase(std::remove(m_files.begin(), m_files.end(), file), m_files.end());
}

void RecentFiles::read(const IniFile& ini) {
    m_files.clear();
    for (std::size_t i = 0; i < Capacity; ++i) {
        const std::string file = ini.readString(Section, KeyOf(i), "");
        if (!file.empty() && std::find(m_files.begin(), m_files.end(), file) == m_files.end())
            m_files.push_back(file);
    }
}

void RecentFiles::write(IniFile& ini) const {
    ini.eraseSection(Section);
    for (std::size_t i = 0; i < m_files.size(); ++i)
        ini.writeString(Section, KeyOf(i), m_files[i]);
}

void RecentFiles::load(const std::string& settingsFile) {
    IniFile ini;
    ini.load(settingsFile);
    read(ini);
}

std::string RecentFiles::save(const std::string& settingsFile) const {
    IniFile ini;
    ini.load(settingsFile);
    write(ini);
    return ini.save(settingsFile);
}

} // namespace probex
