#include "settings/IniFile.h"

#include "settings/NumberText.h"
#include "settings/TextLines.h"

#include <sys/stat.h>

namespace probex {

namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string UnquoteValue(std::string_view raw) {
    std::string_view value = Trim(raw);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::string QuoteValue(std::string_view value) {
    const bool blankAtEnd = !value.empty() && (value.front() == ' ' || value.front() == '\t' ||
                                               value.back() == ' ' || value.back() == '\t');
    const bool looksQuoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    std::string text;
    if (blankAtEnd || looksQuoted) text.push_back('"');
    text.append(value);
    if (blankAtEnd || looksQuoted) text.push_back('"');
    return text;
}

} // namespace

bool IniFile::load(const std::string& path, std::string* error) {
    m_sections.clear();
    // Only a regular file is a settings or layout file; a missing one is simply empty.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return false;
    std::string contents;
    // A directory gets the system's message from the reading.
    std::string problem = S_ISREG(info.st_mode) || S_ISDIR(info.st_mode)
                              ? ReadWholeFile(path, contents)
                              : "Cannot read file \"" + path + "\": not a regular file";
    if (!problem.empty()) {
        if (error != nullptr) *error = std::move(problem);
        return false;
    }
    parse(contents);
    return true;
}

void IniFile::parse(std::string_view text) {
    m_sections.clear();
    m_sections.push_back(Section{});
    for (const std::string_view line : SplitTextLines(text)) {
        const std::string_view trimmed = Trim(line);
        if (!trimmed.empty() && trimmed.front() == '[') {
            std::string_view name = trimmed.substr(1);
            const auto close = name.rfind(']');
            if (close != std::string_view::npos) name = name.substr(0, close);
            m_sections.push_back(Section{std::string(Trim(name)), std::string(line), {}});
            continue;
        }
        Line entry;
        entry.raw = std::string(line);
        const auto equals = line.find('=');
        if (equals != std::string_view::npos && trimmed.front() != ';' && trimmed.front() != '#') {
            const std::string_view key = Trim(line.substr(0, equals));
            if (!key.empty()) {
                entry.isKey = true;
                entry.key = std::string(key);
                entry.value = UnquoteValue(line.substr(equals + 1));
            }
        }
        m_sections.back().lines.push_back(std::move(entry));
    }
}

std::string IniFile::text() const {
    std::string out;
    for (const Section& section : m_sections) {
        if (&section != &m_sections.front()) out += section.rawHeader + "\r\n";
        for (const Line& line : section.lines)
            out += line.raw + "\r\n";
    }
    return out;
}

std::string IniFile::save(const std::string& path) const {
    return WriteFileAtomically(path, text());
}

IniFile::Section* IniFile::findSection(std::string_view name) {
    for (std::size_t i = 1; i < m_sections.size(); ++i)
        if (SameName(m_sections[i].name, name)) return &m_sections[i];
    return nullptr;
}

const IniFile::Section* IniFile::findSection(std::string_view name) const {
    return const_cast<IniFile*>(this)->findSection(name);
}

IniFile::Section& IniFile::sectionForWrite(std::string_view name) {
    if (Section* section = findSection(name)) return *section;
    if (m_sections.empty()) m_sections.push_back(Section{});
    // A blank line before a new section, unless the file is empty or already ends with one.
    Section& last = m_sections.back();
    const bool fileEmpty = m_sections.size() == 1 && last.lines.empty();
    if (!fileEmpty && (last.lines.empty() || !Trim(last.lines.back().raw).empty()))
        last.lines.push_back(Line{});
    std::string header(1, '[');
    header.append(name);
    header.push_back(']');
    m_sections.push_back(Section{std::string(name), std::move(header), {}});
    return m_sections.back();
}

bool IniFile::hasSection(std::string_view section) const {
    return findSection(section) != nullptr;
}

bool IniFile::hasKey(std::string_view section, std::string_view key) const {
    return value(section, key).has_value();
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
    const Section* found = findSection(section);
    if (found == nullptr) return std::nullopt;
    for (const Line& line : found->lines)
        if (line.isKey && SameName(line.key, key)) return line.value;
    return std::nullopt;
}

std::vector<std::string> IniFile::sections() const {
    std::vector<std::string> names;
    for (std::size_t i = 1; i < m_sections.size(); ++i)
        names.push_back(m_sections[i].name);
    return names;
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
    std::vector<std::string> result;
    if (const Section* found = findSection(section))
        for (const Line& line : found->lines)
            if (line.isKey) result.push_back(line.key);
    return result;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                const std::string& defaultValue) const {
    return value(section, key).value_or(defaultValue);
}

std::int32_t IniFile::readInteger(std::string_view section, std::string_view key,
                                  std::int32_t defaultValue) const {
    const auto text = value(section, key);
    std::int32_t result = 0;
    if (!text || !TryStrToInt(*text, result, true)) return defaultValue;
    return result;
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

char IniFile::readChar(std::string_view section, std::string_view key, char defaultValue) const {
    const auto text = value(section, key);
    if (!text || text->empty()) return defaultValue;
    return (*text)[0];
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    // A line feed inside a value would split it into lines that read back differently.
    std::string clean(value.substr(0, value.find('\n')));
    Section& target = sectionForWrite(section);
    for (Line& line : target.lines) {
        if (line.isKey && SameName(line.key, key)) {
            line.value = clean;
            line.raw = line.key + "=" + QuoteValue(clean);
            return;
        }
    }
    Line entry;
    entry.isKey = true;
    entry.key = std::string(key);
    entry.value = clean;
    entry.raw = entry.key + "=" + QuoteValue(clean);
    // After the last key, so that blank lines and comments closing the section stay there.
    std::size_t at = target.lines.size();
    while (at > 0 && !target.lines[at - 1].isKey)
        --at;
    if (at == 0) {
        at = target.lines.size();
        while (at > 0 && Trim(target.lines[at - 1].raw).empty())
            --at;
    }
    target.lines.insert(target.lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
}

void IniFile::writeInteger(std::string_view section, std::string_view key, std::int32_t value) {
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

void IniFile::writeChar(std::string_view section, std::string_view key, char value) {
    writeString(section, key, std::string(1, value));
}

void IniFile::eraseKey(std::string_view section, std::string_view key) {
    Section* found = findSection(section);
    if (found == nullptr) return;
    std::erase_if(found->lines,
                  [&](const Line& line) { return line.isKey && SameName(line.key, key); });
}

void IniFile::eraseSection(std::string_view section) {
    for (std::size_t i = 1; i < m_sections.size();) {
        if (SameName(m_sections[i].name, section))
            m_sections.erase(m_sections.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
}

} // namespace probex
